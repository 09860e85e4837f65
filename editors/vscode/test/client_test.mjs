// The whole editing loop against `scenario-compiler lsp` through vscode-jsonrpc,
// on the exported carried scenario: open, an edit to a fault and back, hover,
// inlay hints, completion, symbols, formatting, a quick fix, shutdown and exit.
// Usage: node test/client_test.mjs [PROGRAM]   (default: scenario-compiler on PATH)
import { spawn, execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import assert from "node:assert/strict";
import rpc from "vscode-jsonrpc/node.js";

const program = process.argv[2] ?? process.env.SCENARIO_COMPILER ?? "scenario-compiler";
const dir = mkdtempSync(join(tmpdir(), "scenario-client-"));
execFileSync(program, ["export", dir]);
const train = join(dir, "Lidonia_Sabrio_914-.txt");
const uri = pathToFileURL(train).href;
const text = new TextDecoder("windows-1252").decode(readFileSync(train));
const lines = text.split("\r\n");

const server = spawn(program, ["lsp"], { stdio: ["pipe", "pipe", "inherit"] });
let finished = false;
const exited = new Promise((resolve) =>
  server.on("exit", (code, signal) => {
    if (!finished && code !== 0) {
      console.error(`client test: the server ended early (status ${code}, signal ${signal})`);
      process.exit(1);
    }
    resolve(code);
  }),
);
// A request left unanswered fails the test rather than ending it quietly.
const timer = setTimeout(() => {
  console.error("client test: no answer within 60 s");
  process.exit(1);
}, 60000);
const connection = rpc.createMessageConnection(
  new rpc.StreamMessageReader(server.stdout),
  new rpc.StreamMessageWriter(server.stdin),
);
const published = [];
let waiting = null;
connection.onNotification("textDocument/publishDiagnostics", (p) => {
  if (p.uri !== uri) return;
  published.push(p);
  if (waiting && p.version === waiting.version) waiting.resolve(p);
});
connection.listen();
const diagnosticsOf = (version) =>
  published.find((p) => p.version === version) ?? new Promise((resolve) => (waiting = { version, resolve }));
const step = (what) => console.log(`client test: ${what}`);
const withLine = (n, line) => lines.map((l, i) => (i === n - 1 ? line : l)).join("\r\n");

try {
  const init = await connection.sendRequest("initialize", {
    processId: process.pid,
    rootUri: pathToFileURL(dir).href,
    capabilities: {
      general: { positionEncodings: ["utf-16"] },
      textDocument: { completion: { completionItem: { snippetSupport: true } } },
    },
  });
  assert.equal(init.capabilities.positionEncoding, "utf-16");
  connection.sendNotification("initialized", {});
  connection.sendNotification("textDocument/didOpen", {
    textDocument: { uri, languageId: "scenario-train", version: 1, text },
  });
  assert.deepEqual((await diagnosticsOf(1)).diagnostics, []);
  step("opened: no diagnostics");

  connection.sendNotification("textDocument/didChange", {
    textDocument: { uri, version: 2 },
    contentChanges: [{ text: withLine(79, lines[78].replace("4450", "1650")) }],
  });
  const fault = (await diagnosticsOf(2)).diagnostics;
  assert.equal(fault.length, 1);
  assert.equal(fault[0].code, "E16");
  assert.deepEqual(fault[0].range, { start: { line: 78, character: 12 }, end: { line: 78, character: 16 } });
  assert.equal(fault[0].relatedInformation[0].location.range.start.line, 77);
  assert.match(fault[0].codeDescription.href, /^file:.*format\.md#/);
  step(`edited line 79: ${fault[0].code} ${fault[0].message}`);

  connection.sendNotification("textDocument/didChange", {
    textDocument: { uri, version: 3 },
    contentChanges: [{ text }],
  });
  assert.deepEqual((await diagnosticsOf(3)).diagnostics, []);
  step("restored: no diagnostics");

  const position = { line: 77, character: 13 };
  const hover = await connection.sendRequest("textDocument/hover", { textDocument: { uri }, position });
  assert.match(hover.contents.value, /field 1 of `segnale`/);
  assert.match(hover.contents.value, /cell 34/);
  step("hover: " + hover.contents.value.split("\n")[0]);

  const hints = await connection.sendRequest("textDocument/inlayHint", {
    textDocument: { uri },
    range: { start: { line: 77, character: 0 }, end: { line: 78, character: 0 } },
  });
  assert.deepEqual(hints.slice(0, 2).map((h) => h.label), ["pos:", "sx:"]);
  assert.equal(hints.length, 11);
  step(`inlay hints: ${hints.map((h) => h.label).join(" ")}`);

  const completion = await connection.sendRequest("textDocument/completion", {
    textDocument: { uri },
    position: { line: 77, character: 0 },
  });
  const signal = completion.items.find((i) => i.label === "segnale");
  assert.equal(signal.insertTextFormat, 2);
  // Values the compiler takes as the defaults; the fields' names in the documentation.
  assert.match(signal.textEdit.newText, /^segnale, \$\{1:1650\}, \$\{2:2\}/);
  assert.match(signal.documentation, /1\. position \(m\)/);
  step(`completion: ${completion.items.length} items, segnale as ${signal.textEdit.newText}`);

  const symbols = await connection.sendRequest("textDocument/documentSymbol", { textDocument: { uri } });
  const stations = symbols.find((s) => s.name === "[stazioni]");
  assert.equal(stations.children[0].name, "LIDONIA CENTRALE");
  step(`symbols: ${symbols.length} sections, ${stations.children.length} stations`);

  const edits = await connection.sendRequest("textDocument/formatting", {
    textDocument: { uri },
    options: { tabSize: 4, insertSpaces: true },
  });
  assert.deepEqual(edits[0], {
    range: { start: { line: 1, character: 0 }, end: { line: 1, character: 21 } },
    newText: "numero vetture, 12",
  });
  step(`format: ${edits.length} lines laid out anew`);

  connection.sendNotification("textDocument/didChange", {
    textDocument: { uri, version: 4 },
    contentChanges: [{ text: withLine(79, lines[78].replace("segnale", "segnalle")) }],
  });
  const warned = (await diagnosticsOf(4)).diagnostics;
  assert.equal(warned[0].code, "-Wunknown-keyword");
  const actions = await connection.sendRequest("textDocument/codeAction", {
    textDocument: { uri },
    range: warned[0].range,
    context: { diagnostics: warned },
  });
  assert.equal(actions[0].title, "replace with 'segnale'");
  assert.deepEqual(actions[0].edit.changes[uri], [{ range: warned[0].range, newText: "segnale" }]);
  step(`quick fix of ${warned[0].code}: ${actions[0].title}`);

  assert.equal(await connection.sendRequest("shutdown"), null);
  finished = true;
  connection.sendNotification("exit");
  assert.equal(await exited, 0);
  step("shutdown and exit: status 0");
} finally {
  clearTimeout(timer);
  connection.dispose();
  server.kill();
  rmSync(dir, { recursive: true, force: true });
}
