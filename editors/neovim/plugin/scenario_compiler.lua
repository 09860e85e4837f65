-- The route and train files in Neovim (0.7 and later): their file types, the
-- Windows-1252 encoding they are read and written in, and one `scenario-compiler
-- lsp` for each folder of them, attached to each buffer. Loaded from the
-- runtimepath (add editors/neovim to it); vim.g.scenario_compiler names the
-- program when it is not `scenario-compiler` on PATH.
if vim.g.loaded_scenario_compiler then return end
vim.g.loaded_scenario_compiler = true

local patterns = { route = "*_linea.txt", train = "*_*-.txt" }
local both = { patterns.route, patterns.train }
local group = vim.api.nvim_create_augroup("scenario_compiler", { clear = true })

vim.api.nvim_create_autocmd({ "BufRead", "BufNewFile" },
  { group = group, pattern = patterns.route, command = "setfiletype scenario_route" })
vim.api.nvim_create_autocmd({ "BufRead", "BufNewFile" },
  { group = group, pattern = patterns.train, command = "setfiletype scenario_train" })

-- Neovim's own fallback, latin1, differs from Windows-1252 in 0x80 to 0x9F: the
-- files are read as Windows-1252 alone, and the option given back after the read
-- (or after a new file's buffer is made, where no read follows).
local encodings
local function restore()
  if encodings then
    vim.o.fileencodings = encodings
    encodings = nil
  end
end
vim.api.nvim_create_autocmd("BufReadPre", {
  group = group,
  pattern = both,
  callback = function()
    encodings = encodings or vim.o.fileencodings
    vim.o.fileencodings = "cp1252"
  end,
})
vim.api.nvim_create_autocmd("BufReadPost", { group = group, pattern = both, callback = restore })
-- A new file is written as Windows-1252 too.
vim.api.nvim_create_autocmd("BufNewFile", {
  group = group,
  pattern = both,
  callback = function(args)
    restore()
    vim.bo[args.buf].fileencoding = "cp1252"
  end,
})

-- One server for each folder: a pair's two buffers share it, so that each
-- diagnostic is shown once and an unsaved buffer is what its partner compiles with.
local clients = {}
vim.api.nvim_create_autocmd("FileType", {
  group = group,
  pattern = { "scenario_route", "scenario_train" },
  callback = function(args)
    local folder = vim.fn.fnamemodify(vim.api.nvim_buf_get_name(args.buf), ":p:h")
    local id = clients[folder]
    if not id or not vim.lsp.get_client_by_id(id) then
      id = vim.lsp.start_client({
        name = "scenario-compiler",
        cmd = { vim.g.scenario_compiler or "scenario-compiler", "lsp" },
        root_dir = folder,
        flags = { debounce_text_changes = 50 },
      })
      clients[folder] = id
    end
    if id then vim.lsp.buf_attach_client(args.buf, id) end
  end,
})
