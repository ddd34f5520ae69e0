# Tone colour of a centred source at five elevations: the magnitude response
# of the mean of both outputs.
load dir."/common.gp"
set title "Elevation colour: response of a centred source"
set xlabel "Frequency (Hz)"
set ylabel "Level (dB re input)"
set logscale x
set xrange [20:20000]
set xtics ("20" 20, "50" 50, "100" 100, "200" 200, "500" 500, "1k" 1000, "2k" 2000, "5k" 5000, "10k" 10000, "20k" 20000)
set key outside right center vertical
f = data."/elevation.csv"
plot f skip 1 using 1:2 with lines lw 2 lc rgb "#6a3d9a" title "elevation -60", \
     f skip 1 using 1:3 with lines lw 2 lc rgb "#1f78b4" title "elevation -30", \
     f skip 1 using 1:4 with lines lw 3 lc rgb "#222222" title "elevation 0", \
     f skip 1 using 1:5 with lines lw 2 lc rgb "#e6a100" title "elevation +30", \
     f skip 1 using 1:6 with lines lw 2 lc rgb "#d62728" title "elevation +60"
