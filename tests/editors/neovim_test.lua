-- An author's session in headless Neovim 0.7 with editors/neovim on the exported
-- carried scenario: both files of the pair open, an error made and mended in the
-- unsaved train buffer, a new file written. Each step prints what the editor shows.
-- Run by neovim_test.sh.
local folder = os.getenv("SCENARIO_DIR")
vim.g.scenario_compiler = os.getenv("SCENARIO_COMPILER")
vim.opt.runtimepath:append(os.getenv("SCENARIO_PLUGIN"))
vim.cmd("runtime! plugin/scenario_compiler.lua")
vim.o.hidden = true

local function fail(message)
  io.stderr:write("neovim test: " .. message .. "\n")
  vim.cmd("cquit 1")
end
local function say(message) io.stdout:write(message .. "\n") end
local function wait_for(what, test)
  if not vim.wait(60000, test, 20) then fail("no " .. what .. " within 60 s") end
end
local function clients()
  local n = 0
  for _ in pairs(vim.lsp.get_active_clients()) do n = n + 1 end
  return n
end
-- Every diagnostic the editor shows, in every buffer, of a code.
local function shown(code)
  local out = {}
  for _, d in ipairs(vim.diagnostic.get(nil)) do
    if d.code == code then out[#out + 1] = d end
  end
  return out
end

local published = 0
local default = vim.lsp.handlers["textDocument/publishDiagnostics"]
vim.lsp.handlers["textDocument/publishDiagnostics"] = function(err, result, ctx, config)
  published = published + 1
  return default(err, result, ctx, config)
end

local fencs = vim.o.fileencodings
vim.cmd("edit " .. folder .. "/Lidonia_Sabrio_linea.txt")
if vim.bo.filetype ~= "scenario_route" then fail("file type " .. vim.bo.filetype) end
if vim.bo.fileencoding ~= "cp1252" then fail("file encoding " .. vim.bo.fileencoding) end
if vim.o.fileencodings ~= fencs then fail("fileencodings left as " .. vim.o.fileencodings) end
local route = vim.api.nvim_get_current_buf()
vim.cmd("split " .. folder .. "/Lidonia_Sabrio_914-.txt")
if vim.bo.filetype ~= "scenario_train" then fail("file type " .. vim.bo.filetype) end
wait_for("first diagnostics", function() return published >= 2 end)
if clients() ~= 1 then fail(clients() .. " servers for one folder") end
say("opened the route and the train file: one server, " .. #vim.diagnostic.get(nil) .. " diagnostics")

-- Line 79's signal moved into the cell of line 78's, the buffer left unsaved.
local line = vim.api.nvim_buf_get_lines(0, 78, 79, false)[1]
vim.api.nvim_buf_set_lines(0, 78, 79, false, { (line:gsub("4450", "1650")) })
wait_for("E16", function() return #shown("E16") > 0 end)
vim.wait(500)  -- time for a second copy to come, were there one
local e16 = shown("E16")
if #e16 ~= 1 then fail("E16 shown " .. #e16 .. " times") end
e16 = e16[1]
if e16.lnum ~= 78 or e16.col ~= 12 or e16.bufnr ~= vim.api.nvim_get_current_buf() then
  fail("E16 at " .. e16.lnum .. ":" .. e16.col)
end
say(string.format("line 79 moved to 1650 m: shown once, %d:%d: %s [%s]", e16.lnum + 1, e16.col + 1, e16.message, e16.code))

local function request(method, params)
  params.textDocument = vim.lsp.util.make_text_document_params()
  local answers = vim.lsp.buf_request_sync(0, method, params, 30000)
  for _, a in pairs(answers or {}) do
    if a.result then return a.result end
  end
  fail("no answer to " .. method)
end

local hover = request("textDocument/hover", { position = { line = 78, character = 13 } })
if not hover.contents.value:find("field 1 of `segnale`", 1, true) then fail("hover: " .. hover.contents.value) end
if not hover.contents.value:find("E16", 1, true) then fail("hover without the error: " .. hover.contents.value) end
say("hover on 1650: " .. hover.contents.value:gsub("\n+", " | "))

local help = request("textDocument/signatureHelp", { position = { line = 78, character = 18 } })
say("signature help at the second value: field " .. help.activeParameter + 1 .. " of " .. help.signatures[1].label)
if help.activeParameter ~= 1 then fail("active parameter " .. help.activeParameter) end

local items = request("textDocument/completion", { position = { line = 77, character = 0 } }).items
local labels = {}
for _, item in ipairs(items) do
  labels[#labels + 1] = item.label
  if item.insertTextFormat == 2 then fail("a snippet for a client without snippets") end
end
say("completion at a line's start: " .. table.concat(labels, ", "))

local symbols = request("textDocument/documentSymbol", {})
say("symbols: " .. #symbols .. " sections, the first station " .. symbols[4].children[1].name .. " (" .. symbols[4].children[1].detail .. ")")

-- Mended in the unsaved buffer: gone from every buffer, the route's too.
vim.api.nvim_buf_set_lines(0, 78, 79, false, { line })
wait_for("the error gone", function() return #vim.diagnostic.get(nil) == 0 end)
if vim.bo.modified ~= true then fail("the train buffer was saved") end
say("line 79 restored, unsaved: no diagnostics in either buffer (route buffer " .. route .. ")")

-- Neovim 0.7's formatting call; 0.8 and later have vim.lsp.buf.format.
local formatting = vim.lsp.buf.formatting_sync or function() vim.lsp.buf.format({ async = false }) end
published = 0
local unformatted = vim.api.nvim_buf_get_lines(0, 77, 78, false)[1]
formatting(nil, 30000)
local formatted = vim.api.nvim_buf_get_lines(0, 77, 78, false)[1]
if formatted == unformatted then fail("line 78 not formatted: " .. formatted) end
wait_for("diagnostics of the formatted text", function() return published >= 2 end)
if #vim.diagnostic.get(nil) ~= 0 then fail("the formatted text has diagnostics") end
say("formatted: line 78 reads '" .. formatted .. "', still no diagnostics")

-- A new train file, written: Windows-1252 bytes.
local new = folder .. "/Lidonia_Sabrio_915-.txt"
vim.cmd("edit " .. new)
if vim.bo.filetype ~= "scenario_train" then fail("new file's type " .. vim.bo.filetype) end
vim.api.nvim_buf_set_lines(0, 0, -1, false, { "[generale]", "stazione, 0, 8, 500, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, CITTÀ", "[fine]" })
vim.cmd("write")
local file = io.open(new, "rb")
local bytes = file:read("*a")
file:close()
if not bytes:find("CITT\xC0", 1, true) then fail("the new file's bytes: " .. bytes) end
say("new file Lidonia_Sabrio_915-.txt written: 'CITTÀ' as the Windows-1252 byte C0")

-- A UTF-8 file opened afterwards is read as UTF-8.
local other = folder .. "/notes.txt"
file = io.open(other, "wb")
file:write("caff\xC3\xA8\n")
file:close()
vim.cmd("edit " .. other)
if vim.bo.fileencoding ~= "utf-8" then fail("a UTF-8 file read as " .. vim.bo.fileencoding) end
say("a UTF-8 file opened after them: read as utf-8")
vim.cmd("qall!")
