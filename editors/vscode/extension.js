// Starts `scenario-compiler lsp` for the route and train files.
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");

let client;

function settings() {
  const c = vscode.workspace.getConfiguration("scenarioCompiler");
  return { warnings: c.get("warnings", []), inlayHints: { hide: c.get("inlayHints.hide", []) } };
}

async function activate(context) {
  const command = vscode.workspace.getConfiguration("scenarioCompiler").get("path", "scenario-compiler");
  client = new LanguageClient(
    "scenarioCompiler",
    "Scenario compiler",
    { command, args: ["lsp"] },
    {
      documentSelector: [
        { scheme: "file", language: "scenario-route" },
        { scheme: "file", language: "scenario-train" },
      ],
      initializationOptions: settings(),
      synchronize: {
        configurationSection: "scenarioCompiler",
        // A partner file changed on disk is compiled again with the open one.
        fileEvents: vscode.workspace.createFileSystemWatcher("**/*.txt"),
      },
    },
  );
  context.subscriptions.push(client);
  await client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
