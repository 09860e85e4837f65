-- The route and train files in Neovim (0.7 and later): their file types, the
-- Windows-1252 encoding they are written in, and `scenario-compiler lsp` attached
-- to them. Load it from init.lua with `dofile("/path/to/scenario.lua")`, or copy it.
vim.api.nvim_create_autocmd({ "BufRead", "BufNewFile" }, { pattern = "*_linea.txt", command = "setfiletype scenario_route" })
vim.api.nvim_create_autocmd({ "BufRead", "BufNewFile" }, { pattern = "*_*-.txt", command = "setfiletype scenario_train" })

-- Neovim's own fallback, latin1, differs from Windows-1252 in 0x80 to 0x9F.
local encodings
vim.api.nvim_create_autocmd("BufReadPre", {
  pattern = { "*_linea.txt", "*-.txt" },
  callback = function()
    encodings = vim.o.fileencodings
    vim.o.fileencodings = "cp1252"
  end,
})
vim.api.nvim_create_autocmd("BufReadPost", {
  pattern = { "*_linea.txt", "*-.txt" },
  callback = function()
    if encodings then vim.o.fileencodings = encodings end
  end,
})

-- One server for each folder of scenario files.
local clients = {}
vim.api.nvim_create_autocmd("FileType", {
  pattern = { "scenario_route", "scenario_train" },
  callback = function(args)
    local folder = vim.fn.fnamemodify(vim.api.nvim_buf_get_name(args.buf), ":p:h")
    if not clients[folder] then
      clients[folder] = vim.lsp.start_client({
        name = "scenario-compiler",
        cmd = { vim.g.scenario_compiler or "scenario-compiler", "lsp" },
        root_dir = folder,
        flags = { debounce_text_changes = 50 },
      })
    end
    vim.lsp.buf_attach_client(args.buf, clients[folder])
  end,
})
