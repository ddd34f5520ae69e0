-- Run by the Lua session host: load one Linux VST 2.4 plug-in into a fresh
-- session on the dummy audio backend and write what the host read from it to
-- a report, one tab-separated record per line.
--
-- Arguments: session folder, plug-in unique id (decimal), report file.
-- The last line of a complete report is "end"; anything short of that means
-- the host failed part-way.

local session_dir, unique_id, report_path = arg[1], arg[2], arg[3]
if not (session_dir and unique_id and report_path) then
  error("usage: session_probe.lua SESSION_DIR UNIQUE_ID REPORT")
end

local report = assert(io.open(report_path, "w"))
local function put(...)
  report:write(table.concat({ ... }, "\t"), "\n")
end

local function finish(ok)
  if ok then put("end") end
  report:close()
end

if AudioEngine:set_backend("None (Dummy)", "", "") == nil then
  put("error", "dummy audio backend unavailable")
  finish(false)
  error("dummy audio backend unavailable")
end

local session = create_session(session_dir, "probe", 48000)
if session == nil then
  put("error", "session not created")
  finish(false)
  error("session not created")
end

local processor = ARDOUR.LuaAPI.new_plugin(session, unique_id, ARDOUR.PluginType.LXVST, "")
if processor:isnil() then
  put("error", "plug-in " .. unique_id .. " not instantiated")
  finish(false)
  close_session()
  error("plug-in not instantiated")
end

local plugin = processor:to_insert():plugin(0)
local info = plugin:get_info()
put("name", plugin:name())
put("vendor", plugin:maker())
put("unique-id", plugin:unique_id())
put("inputs", info.n_inputs:n_audio())
put("outputs", info.n_outputs:n_audio())

local count = plugin:parameter_count()
put("parameters", count)
for i = 0, count - 1 do
  -- The host's descriptor carries the plug-in's parameter name; the value is
  -- the normalised one the host reads back from the plug-in.
  local _, described = plugin:get_parameter_descriptor(i, ARDOUR.ParameterDescriptor())
  local value = ARDOUR.LuaAPI.get_processor_param(processor, i, true)
  put("parameter", i, described[2].label, string.format("%.9g", value))
end

-- The host names factory presets "<index> - <program name>"; keep the
-- program's own name and insist that the index matches the position.
local programs = {}
for preset in info:get_presets(false):iter() do
  if not preset.user then
    programs[#programs + 1] = preset.label
  end
end
put("programs", #programs)
for i, label in ipairs(programs) do
  local index, name = string.match(label, "^(%d+) %- (.*)$")
  if tonumber(index) ~= i - 1 then
    name = "unexpected label: " .. label
  end
  put("program", i - 1, name)
end

-- "end" only once the session has closed and unloaded the plug-in, so a
-- fault on close leaves the report incomplete.
close_session()
finish(true)
