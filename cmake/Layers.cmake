# The layers of the source tree, stated once: each layer is one target, the
# part of the tree it owns (a folder ending in "/" or a single file; the most
# specific owner of a path wins) and the layers it builds on. PUBLIC ones are
# also seen by whoever builds on this layer (its headers include theirs);
# PRIVATE ones only by its own sources.
#
# Each folder's CMakeLists.txt makes the target with its sources and its
# system libraries, then calls vantelor_layer(target): the links between
# layers and the headers a layer gives to the layers above it come from here
# and nowhere else. The build fails on a layer linked to another by hand, on
# a source a target compiles outside what its layer owns, and on a layer whose
# target never took its place. tests/layers reads the same table (written into
# the build tree) and checks every #include of the tree against it, the files
# of the other platform too.
#
# Dependencies run one way: dsp <- engine <- plugin, toolkit <- editor, and the
# VST bindings (the toolkit's editor binding, the product) above both.

vantelor_declare_layer(vantelor_dsp OWNS dsp/)
vantelor_declare_layer(vantelor_engine OWNS engine/ PUBLIC vantelor_dsp)

# The VST 2.4 boundary: the interface, the base classes, the framework and the
# product. The editor may see the VST base classes, the bounded texts and what
# the product tells its editor, never the framework's store or the product
# class with its engine.
vantelor_declare_layer(vst2_interface OWNS plugin/VstInterface.h)
vantelor_declare_layer(vst2_base
  OWNS plugin/AEffEditor.h plugin/AudioEffect.h plugin/AudioEffect.cpp plugin/AudioEffectX.h
       plugin/AudioEffectX.cpp plugin/SpeakerArrangement.cpp
  PUBLIC vst2_interface)
vantelor_declare_layer(vantelor_text OWNS plugin/TextBounded.h plugin/TextBounded.cpp)
vantelor_declare_layer(vantelor_plugin_interface
  OWNS plugin/VantelorParameters.h plugin/VersionLabel.h plugin/EditorConnection.h
  PUBLIC vst2_interface)
# Generated from the project version into the build tree.
vantelor_declare_layer(vantelor_version OWNS plugin/VantelorVersion.h)
vantelor_declare_layer(vantelor_table OWNS plugin/VantelorTable.h
  PUBLIC vantelor_plugin_interface vantelor_engine)
vantelor_declare_layer(vantelor_framework
  OWNS plugin/VSTConfig.h plugin/VSTConfig.cpp plugin/VSTPlugin.h plugin/VSTPlugin.cpp
  PUBLIC vst2_base vantelor_text vantelor_plugin_interface)
# The product knows its editor only as the framework's AEffEditor, so a format
# without a window (LV2's DSP binary) links no drawing code.
vantelor_declare_layer(vantelor_product OWNS plugin/MyVSTPlugin.h plugin/MyVSTPlugin.cpp
  PUBLIC vantelor_framework vantelor_engine vantelor_table
  PRIVATE vantelor_version)
# The VST entry attaches the product's window.
vantelor_declare_layer(vantelor_vst OWNS plugin/VantelorVst.h plugin/VantelorVst.cpp
  PUBLIC vantelor_product
  PRIVATE vantelor_editor)
vantelor_declare_layer(HF_Vantelor OWNS plugin/VstMain.cpp plugin/win32/ PRIVATE vantelor_vst)

# The GUI toolkit knows nothing of any plug-in format; its VST 2.4 editor
# binding is the one place where it meets the VST layer.
vantelor_declare_layer(vantelor_toolkit OWNS toolkit/)
vantelor_declare_layer(vantelor_toolkit_vst2 OWNS toolkit/plugin-bindings/
  PUBLIC vantelor_toolkit vst2_base)
vantelor_declare_layer(vantelor_resources OWNS resources/ PUBLIC vantelor_toolkit)
# Draws the committed pictures; it uses nothing of the tree.
vantelor_declare_layer(vantelor_picture_generator OWNS resources/GeneratePictures.cpp)

# The reusable control library builds on the toolkit and its label texts
# alone; the product's window is above it.
vantelor_declare_layer(vantelor_controls OWNS editor/controls/ PUBLIC vantelor_toolkit vantelor_text)
vantelor_declare_layer(vantelor_editor OWNS editor/
  PUBLIC vantelor_controls vantelor_toolkit vantelor_toolkit_vst2 vantelor_resources vantelor_text
         vantelor_plugin_interface)

# The LV2 bundle: the same product without a window or VST entry, and its UI,
# the same window behind the editor's narrow interface (never the product
# class).
vantelor_declare_layer(vantelor_lv2_ports OWNS lv2/VantelorPorts.h PUBLIC vantelor_plugin_interface)
vantelor_declare_layer(HF_Vantelor_lv2 OWNS lv2/VantelorLv2.cpp
  PRIVATE vantelor_product vantelor_lv2_ports)
vantelor_declare_layer(HF_Vantelor_lv2_ui OWNS lv2/ui/
  PRIVATE vantelor_editor vantelor_table vantelor_version vantelor_lv2_ports)
vantelor_declare_layer(vantelor-lv2-ttl OWNS lv2/GenerateTtl.cpp
  PRIVATE vantelor_table vantelor_version vantelor_lv2_ports)

# The command-line host knows nothing of our plug-in's code, only the VST
# interface; the control gallery shows the control library, its meters fed
# by the level followers.
vantelor_declare_layer(vst2_host_core OWNS tools/ PUBLIC vst2_interface)
vantelor_declare_layer(vst2-host
  OWNS tools/main.cpp tools/commands/ tools/validate/ tools/host/EditorWindow.h
       tools/host/EditorWindow.cpp tools/host/AllocationCounter.h tools/host/AllocationCounter.cpp
  PRIVATE vst2_host_core)
vantelor_declare_layer(control_gallery_core OWNS tools/gallery/ PUBLIC vantelor_controls vantelor_dsp)
vantelor_declare_layer(control-gallery OWNS tools/gallery/main.cpp PRIVATE control_gallery_core)
