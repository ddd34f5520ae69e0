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

# The format-free product: its description (identity, each format's ids, the
# parameter table, the programs, the version) and its processor (the
# hand-over of values to the engine, changes inside a block, the state).
# Every format builds on these and on nothing of another format.
# Generated from the project version into the build tree.
vantelor_declare_layer(vantelor_version OWNS product/VantelorVersion.h FORMAT_FREE)
vantelor_declare_layer(vantelor_text OWNS plugin/TextBounded.h plugin/TextBounded.cpp)
vantelor_declare_layer(vantelor_description
  OWNS product/VantelorParameters.h product/VantelorDescription.h product/VantelorDescription.cpp
       product/EditorConnection.h
  PUBLIC vantelor_version
  FORMAT_FREE)
vantelor_declare_layer(vantelor_processor
  OWNS product/
  PUBLIC vantelor_description
  PRIVATE vantelor_engine
  FORMAT_FREE)

# The VST 2.4 boundary: the interface, the base classes, the framework and the
# product class. The editor may see the VST base classes, never the
# framework's store or the product class with its engine.
vantelor_declare_layer(vst2_interface OWNS plugin/VstInterface.h FORMAT vst2)
vantelor_declare_layer(vst2_base
  OWNS plugin/AEffEditor.h plugin/AudioEffect.h plugin/AudioEffect.cpp plugin/AudioEffectX.h
       plugin/AudioEffectX.cpp plugin/SpeakerArrangement.cpp
  PUBLIC vst2_interface
  FORMAT vst2)
vantelor_declare_layer(vantelor_plugin_interface OWNS plugin/VersionLabel.h FORMAT vst2)
vantelor_declare_layer(vantelor_framework
  OWNS plugin/VSTConfig.h plugin/VSTConfig.cpp plugin/VSTPlugin.h plugin/VSTPlugin.cpp
  PUBLIC vst2_base vantelor_text vantelor_plugin_interface vantelor_description
  FORMAT vst2)
# The product class knows its editor only as the framework's AEffEditor; it
# hands values to the engine through the product's processor.
vantelor_declare_layer(vantelor_product OWNS plugin/MyVSTPlugin.h plugin/MyVSTPlugin.cpp
  PUBLIC vantelor_framework vantelor_engine vantelor_processor
  FORMAT vst2)
# The VST entry attaches the product's window.
vantelor_declare_layer(vantelor_vst OWNS plugin/VantelorVst.h plugin/VantelorVst.cpp
  PUBLIC vantelor_product
  PRIVATE vantelor_editor
  FORMAT vst2)
vantelor_declare_layer(HF_Vantelor OWNS plugin/VstMain.cpp plugin/win32/ PRIVATE vantelor_vst
  FORMAT vst2)

# The GUI toolkit knows nothing of any plug-in format; its VST 2.4 editor
# binding is the one place where it meets the VST layer.
vantelor_declare_layer(vantelor_toolkit OWNS toolkit/)
vantelor_declare_layer(vantelor_toolkit_binding OWNS toolkit/plugin-bindings/
  PUBLIC vantelor_toolkit
  FORMAT_FREE)
vantelor_declare_layer(vantelor_toolkit_vst2
  OWNS toolkit/plugin-bindings/AEffGUIEditor.h toolkit/plugin-bindings/AEffGUIEditor.cpp
  PUBLIC vantelor_toolkit_binding vst2_base
  FORMAT vst2)
vantelor_declare_layer(vantelor_toolkit_lv2
  OWNS toolkit/plugin-bindings/Lv2UiEditor.h toolkit/plugin-bindings/Lv2UiEditor.cpp
  PUBLIC vantelor_toolkit_binding
  FORMAT lv2)
vantelor_declare_layer(vantelor_resources OWNS resources/ PUBLIC vantelor_toolkit)
# Draws the committed pictures; it uses nothing of the tree.
vantelor_declare_layer(vantelor_picture_generator OWNS resources/GeneratePictures.cpp)

# The reusable control library builds on the toolkit and its label texts
# alone; the product's window is above it.
vantelor_declare_layer(vantelor_controls OWNS editor/controls/ PUBLIC vantelor_toolkit vantelor_text)
# The product's window, for every format; the VST 2.4 editor puts it on the
# toolkit's VST 2.4 binding.
vantelor_declare_layer(vantelor_window OWNS editor/
  PUBLIC vantelor_controls vantelor_toolkit vantelor_toolkit_binding vantelor_resources
         vantelor_text vantelor_description
  FORMAT_FREE)
vantelor_declare_layer(vantelor_editor OWNS editor/MyVSTEditor.h editor/MyVSTEditor.cpp
  PUBLIC vantelor_window vantelor_toolkit_vst2
  FORMAT vst2)

# The LV2 bundle: the product's processor without a window or VST entry,
# and its UI, the same window behind the editor's narrow interface.
vantelor_declare_layer(vantelor_lv2_ports OWNS lv2/VantelorPorts.h PUBLIC vantelor_description
  FORMAT lv2)
vantelor_declare_layer(HF_Vantelor_lv2 OWNS lv2/VantelorLv2.cpp
  PRIVATE vantelor_processor vantelor_lv2_ports
  FORMAT lv2)
vantelor_declare_layer(HF_Vantelor_lv2_ui OWNS lv2/ui/
  PRIVATE vantelor_window vantelor_toolkit_lv2 vantelor_description vantelor_lv2_ports
  FORMAT lv2)
vantelor_declare_layer(vantelor-lv2-ttl OWNS lv2/GenerateTtl.cpp
  PRIVATE vantelor_description vantelor_lv2_ports
  FORMAT lv2)

# The CLAP plug-in: our declarations of the format's binary interface, the
# window binding on the host's run loop, the plug-in over the product's
# processor and window, and the module that exports clap_entry alone.
vantelor_declare_layer(clap_interface OWNS clap/ClapInterface.h FORMAT clap)
vantelor_declare_layer(vantelor_toolkit_clap
  OWNS toolkit/plugin-bindings/ClapGuiEditor.h toolkit/plugin-bindings/ClapGuiEditor.cpp
  PUBLIC vantelor_toolkit_binding clap_interface
  FORMAT clap)
vantelor_declare_layer(vantelor_clap OWNS clap/
  PUBLIC clap_interface vantelor_processor
  PRIVATE vantelor_window vantelor_toolkit_clap vantelor_description
  FORMAT clap)
vantelor_declare_layer(HF_Vantelor_clap OWNS clap/ClapEntry.cpp clap/win32/ PRIVATE vantelor_clap
  FORMAT clap)
# Our CLAP host: loads any .clap module; it knows nothing of our plug-in's
# code, only the format.
vantelor_declare_layer(clap_host_core OWNS tools/host/clap/ PUBLIC clap_interface FORMAT clap)
vantelor_declare_layer(clap-apply OWNS tools/host/clap/ClapApply.cpp PRIVATE clap_host_core
  FORMAT clap)

# The VST3 bundle: the format's interfaces declared by us, its ids and texts,
# the audio module, controller and view over the product, and the module's
# entry; the toolkit's VST3 view binding runs the window from the host's run
# loop.
vantelor_declare_layer(vst3_interface OWNS vst3/Vst3Interface.h FORMAT vst3)
vantelor_declare_layer(vantelor_vst3_ids
  OWNS vst3/VantelorVst3Ids.h vst3/VantelorVst3Ids.cpp vst3/Vst3Text.h vst3/Vst3Text.cpp
  PUBLIC vst3_interface vantelor_description
  FORMAT vst3)
vantelor_declare_layer(vantelor_toolkit_vst3
  OWNS toolkit/plugin-bindings/Vst3PlugViewEditor.h toolkit/plugin-bindings/Vst3PlugViewEditor.cpp
  PUBLIC vantelor_toolkit_binding vst3_interface
  FORMAT vst3)
vantelor_declare_layer(vantelor_vst3 OWNS vst3/
  PUBLIC vantelor_vst3_ids vantelor_processor vantelor_window vantelor_toolkit_vst3
  FORMAT vst3)
vantelor_declare_layer(HF_Vantelor_vst3 OWNS vst3/VantelorVst3Entry.cpp vst3/win32/
  PRIVATE vantelor_vst3
  FORMAT vst3)
vantelor_declare_layer(vantelor-vst3-moduleinfo OWNS vst3/GenerateModuleInfo.cpp
  PRIVATE vantelor_vst3_ids
  FORMAT vst3)

# The command-line host knows nothing of our plug-in's code, only the
# formats' interfaces: its core is the VST 2.4 host with the instance
# interface the commands use; the VST3 host library and the CLAP one are
# each a format's own, and the layer that puts them behind the instance
# interface belongs to no format. The control gallery shows the control
# library, its meters fed by the level followers.
vantelor_declare_layer(vst2_host_core OWNS tools/ PUBLIC vst2_interface)
vantelor_declare_layer(vst3_host_core OWNS tools/host/vst3/ PUBLIC vst3_interface FORMAT vst3)
vantelor_declare_layer(plugin_host_formats OWNS tools/host/formats/
  PUBLIC vst2_host_core
  PRIVATE vst3_host_core clap_host_core)
vantelor_declare_layer(plugin-host
  OWNS tools/main.cpp tools/commands/ tools/validate/ tools/host/EditorWindow.h
       tools/host/EditorWindow.cpp tools/host/AllocationCounter.h tools/host/AllocationCounter.cpp
  PRIVATE vst2_host_core plugin_host_formats)
vantelor_declare_layer(control_gallery_core OWNS tools/gallery/ PUBLIC vantelor_controls vantelor_dsp)
vantelor_declare_layer(control-gallery OWNS tools/gallery/main.cpp PRIVATE control_gallery_core)
