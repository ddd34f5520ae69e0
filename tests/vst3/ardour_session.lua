-- Run by the workstation's Lua session host, twice. "create": a new session
-- on the dummy audio backend with one stereo track, the VST3 plug-in inserted
-- on it and its eight parameters set in their units, saved. "load": the
-- saved session opened again. Each run reports the plug-in's name and the value the host reads
-- back from each control, one tab-separated record per line, and "end" last.
--
-- Arguments: session folder, plug-in name, report file, create|load.
local session_dir, name, report_path, mode = arg[1], arg[2], arg[3], arg[4]
if not (session_dir and name and report_path and (mode == "create" or mode == "load")) then
  error("usage: ardour_session.lua SESSION_DIR NAME REPORT create|load")
end
local report = assert(io.open(report_path, "w"))
local function put(...) report:write(table.concat({ ... }, "\t"), "\n") end

-- Values no control has by default, with fractions that show any rounding.
local values = { -42.5, 17.25, 0, 33, 12.5, -51.75, 1, 66 }

assert(AudioEngine:set_backend("None (Dummy)", "", "") ~= nil, "dummy audio backend unavailable")
local session
if mode == "create" then
  session = create_session(session_dir, "probe", 48000)
else
  session = load_session(session_dir, "probe")
end
assert(session ~= nil, "session not " .. (mode == "create" and "created" or "loaded"))

local route
if mode == "create" then
  local tracks = session:new_audio_track(2, 2, nil, 1, "probe", ARDOUR.PresentationInfo.max_order,
                                         ARDOUR.TrackMode.Normal, true)
  route = tracks:front()
  local processor = ARDOUR.LuaAPI.new_plugin(session, name, ARDOUR.PluginType.VST3, "")
  assert(not processor:isnil(), "plug-in " .. name .. " not instantiated")
  route:add_processor_by_index(processor, 0, nil, true)
  for i, v in ipairs(values) do
    ARDOUR.LuaAPI.set_processor_param(processor, i - 1, v)
  end
  -- The values reach the plug-in with the audio, as in every VST3 host:
  -- let the engine run a few cycles before saving.
  ARDOUR.LuaAPI.usleep(500000)
  session:save_state("", false, false, false, false, false)
else
  route = session:route_by_name("probe")
  assert(not route:isnil(), "track not found in the saved session")
end

local processor = route:nth_plugin(0)
assert(not processor:isnil(), "no plug-in on the track")
local plugin = processor:to_insert():plugin(0)
put("name", plugin:name())
for i = 0, #values - 1 do
  local _, described = plugin:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor())
  local value = ARDOUR.LuaAPI.get_processor_param(processor, i)
  put("parameter", i, described[2].label, string.format("%.9g", value))
  if string.format("%.9g", value) ~= string.format("%.9g", values[i + 1]) then
    put("mismatch", i, string.format("%.9g", values[i + 1]))
  end
end
put("end")
report:close()
close_session()
