-- An author's edits in headless Neovim 0.7 on the exported carried scenario,
-- through tests/editors/scenario.lua: each step prints what the server answered.
-- Run by neovim_test.sh.
local folder = os.getenv("SCENARIO_DIR")
vim.g.scenario_compiler = os.getenv("SCENARIO_COMPILER")
dofile(os.getenv("SCENARIO_LUA"))

local function fail(message)
  io.stderr:write("neovim test: " .. message .. "\n")
  vim.cmd("cquit 1")
end
local function say(message) io.stdout:write(message .. "\n") end
local function wait_for(what, test)
  if not vim.wait(60000, test, 20) then fail("no " .. what .. " within 60 s") end
end

local published = 0
local default = vim.lsp.handlers["textDocument/publishDiagnostics"]
vim.lsp.handlers["textDocument/publishDiagnostics"] = function(err, result, ctx, config)
  published = published + 1
  return default(err, result, ctx, config)
end

vim.cmd("edit " .. folder .. "/Lidonia_Sabrio_914-.txt")
if vim.bo.filetype ~= "scenario_train" then fail("file type " .. vim.bo.filetype) end
if vim.bo.fileencoding ~= "cp1252" then fail("file encoding " .. vim.bo.fileencoding) end
wait_for("first diagnostics", function() return published >= 2 end)
say("opened Lidonia_Sabrio_914-.txt: " .. #vim.diagnostic.get(0) .. " diagnostics")

-- Line 79's signal moved into the cell of line 78's.
local line = vim.api.nvim_buf_get_lines(0, 78, 79, false)[1]
vim.api.nvim_buf_set_lines(0, 78, 79, false, { (line:gsub("4450", "1650")) })
local e16
wait_for("E16", function()
  for _, d in ipairs(vim.diagnostic.get(0)) do
    if d.code == "E16" then e16 = d return true end
  end
  return false
end)
if e16.lnum ~= 78 or e16.col ~= 12 then fail("E16 at " .. e16.lnum .. ":" .. e16.col) end
say(string.format("line 79 moved to 1650 m: %d:%d: %s [%s]", e16.lnum + 1, e16.col + 1, e16.message, e16.code))

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

vim.api.nvim_buf_set_lines(0, 78, 79, false, { line })
wait_for("the error gone", function() return #vim.diagnostic.get(0) == 0 end)
say("line 79 restored: no diagnostics")

-- Neovim 0.7's formatting call; 0.8 and later have vim.lsp.buf.format.
local formatting = vim.lsp.buf.formatting_sync or function() vim.lsp.buf.format({ async = false }) end
published = 0
local unformatted = vim.api.nvim_buf_get_lines(0, 77, 78, false)[1]
formatting(nil, 30000)
local formatted = vim.api.nvim_buf_get_lines(0, 77, 78, false)[1]
if formatted == unformatted then fail("line 78 not formatted: " .. formatted) end
wait_for("diagnostics of the formatted text", function() return published >= 2 end)
if #vim.diagnostic.get(0) ~= 0 then fail("the formatted text has diagnostics") end
say("formatted: line 78 reads '" .. formatted .. "', still no diagnostics")
vim.cmd("qall!")
