# Sourced by the scripts: makes sure the Debian packages they need are present.
# As root it installs what is missing (apt-get update once, then install);
# otherwise it prints the exact command and stops.

VANTELOR_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libcairo2-dev libx11-dev fontconfig
  fonts-liberation libsndfile1-dev libcli11-dev nlohmann-json3-dev gnuplot-nox lv2-dev lilv-utils)
# The LV2 checks: lilv as a test host, the validator's RDF checker (lv2-dev's
# lv2_validate runs sordi's sord_validate), and jalv on JACK's dummy driver as
# a host with a window; Chromium shows the user guide as a browser does;
# Qtractor's plug-in scanner loads the CLAP plug-in as a third party.
VANTELOR_TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xauth x11-utils libxtst-dev clang
  libclang-rt-14-dev liblilv-dev sordi jalv jackd2 chromium jq qtractor)
# Plug-ins that musicians pick instead and a real workstation host: the tests
# run our host tools on them and compare with them; the benchmarks measure
# against them. Not needed to build or use the plug-in.
VANTELOR_PEER_PACKAGES=(zam-plugins iem-plugin-suite-vst dpf-plugins-vst ardour jq)
# The Windows DLL: the cross compiler (posix thread model, static runtime),
# GoogleTest's sources to build with it, and Wine to run the tests, whose
# Direct2D draws through OpenGL (Mesa's software renderer on Xvfb).
VANTELOR_WINDOWS_BUILD_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix mingw-w64-tools)
VANTELOR_WINDOWS_TEST_PACKAGES=(googletest wine wine64 libgl1-mesa-dri fonts-liberation)
# The packages: Debian's packaging tools (dpkg-shlibdeps computes the .deb's
# dependencies), NSIS for the Windows installer, zip, GoogleTest's sources for
# the Windows build's test host; and what the checks
# run: lintian, and lilv's tools to find an installed LV2 bundle.
VANTELOR_PACKAGE_PACKAGES=(dpkg-dev file nsis zip googletest ccache)
VANTELOR_PACKAGE_CHECK_PACKAGES=(lintian lilv-utils)

ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "error: missing packages; install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >&2
  apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
}
