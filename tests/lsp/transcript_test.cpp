// The server as an editor meets it: JSON-RPC messages in, the messages it sends
// out, each expected message a pattern (the keys and array elements it names
// must match; an array's length too, unless its last element is "...").
#include "lsp/server.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "lsp/file_uri.h"
#include "lsp/message_intake.h"
#include "lsp/scenario_check.h"
#include "platform/input_files.h"
#include "model/testo_1252.h"
#include "tests/support/carried_texts.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_paths.h"

using json = nlohmann::json;

namespace {

// Where `expected` does not match `actual`, or "" when it does.
std::string mismatch(const json& expected, const json& actual, const std::string& at = "") {
    if (expected.is_object()) {
        if (!actual.is_object()) return at + ": not an object";
        for (const auto& [k, v] : expected.items()) {
            if (!actual.contains(k)) return at + "/" + k + ": missing";
            if (std::string m = mismatch(v, actual[k], at + "/" + k); !m.empty()) return m;
        }
        return "";
    }
    if (expected.is_array()) {
        const bool prefix = !expected.empty() && expected.back() == "...";
        const size_t n = expected.size() - (prefix ? 1 : 0);
        if (!actual.is_array() || (prefix ? actual.size() < n : actual.size() != n))
            return at + ": expected " + std::to_string(n) + (prefix ? " or more" : "") + " elements";
        for (size_t i = 0; i < n; ++i)
            if (std::string m = mismatch(expected[i], actual[i], at + "/" + std::to_string(i)); !m.empty()) return m;
        return "";
    }
    return expected == actual ? "" : at + ": expected " + expected.dump();
}

// One step: a message in (with $ROUTE, $TRAIN, $TRAIN2 for the files' URIs and
// $TEXT for the step's text), then the messages out, in order.
struct step {
    std::string in;
    std::vector<std::string> out;
    int at_ms = 0;  // when it arrives, from the transcript's start
    std::map<int, std::string> edit = {};  // $TEXT: the carried train file with these lines
};

struct transcript {
    const char* name;
    std::vector<step> steps;
};
void PrintTo(const transcript& t, std::ostream* os) { *os << t.name; }

const std::string INIT =
    R"j({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}})j";
const std::string INIT_OUT = R"j({"id":1,"result":{"capabilities":{"positionEncoding":"utf-16"}}})j";
const std::string OPEN_TRAIN =
    R"j({"method":"textDocument/didOpen","params":{"textDocument":{"uri":"$TRAIN","version":1,"text":$TEXT}}})j";
const std::string CLEAN_ROUTE = R"j({"method":"textDocument/publishDiagnostics","params":{"uri":"$ROUTE","diagnostics":[]}})j";
const std::string CLEAN_TRAIN_1 =
    R"j({"method":"textDocument/publishDiagnostics","params":{"uri":"$TRAIN","version":1,"diagnostics":[]}})j";
const std::string CHANGE_2 =
    R"j({"method":"textDocument/didChange","params":{"textDocument":{"uri":"$TRAIN","version":2},"contentChanges":[{"text":$TEXT}]}})j";
const std::map<int, std::string> COLLIDE = {{79, "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0"}};
const std::string E16_2 = R"j({"method":"textDocument/publishDiagnostics","params":{"uri":"$TRAIN","version":2,"diagnostics":[
    {"code":"E16","severity":1,"range":{"start":{"line":78,"character":12},"end":{"line":78,"character":16}},
     "message":"signal cell already occupied (at 1650 m)",
     "relatedInformation":[{"location":{"uri":"$TRAIN","range":{"start":{"line":77,"character":0}}},
                            "message":"cell 34 is taken by this segnale at 1650 m"}]}]}})j";

// JSON nested n deep: past the parser's limit, a copy of it would overflow the stack.
std::string nested(size_t n) { return std::string(n, '[') + std::string(n, ']'); }
const std::string DEEP = nested(100000);

const std::vector<transcript> TRANSCRIPTS = {
    {"Lifecycle",
     {{R"j({"jsonrpc":"2.0","id":0,"method":"textDocument/hover","params":{}})j", {R"j({"id":0,"error":{"code":-32002}})j"}},
      {"not json", {R"j({"id":null,"error":{"code":-32700}})j"}},
      {R"j({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{"general":{"positionEncodings":["utf-32","utf-8"]}}}})j",
       {R"j({"id":1,"result":{"capabilities":{"positionEncoding":"utf-32","textDocumentSync":{"change":1}}}})j"}},
      {R"j({"id":2,"method":"initialize","params":{}})j", {R"j({"id":2,"error":{"code":-32600}})j"}},
      {R"j({"id":3,"method":"textDocument/formatting/none","params":{}})j", {R"j({"id":3,"error":{"code":-32601}})j"}},
      {R"j({"id":4,"method":"textDocument/hover","params":{"textDocument":{"uri":"file:///nowhere_linea.txt"},"position":{"line":0,"character":0}}})j",
       {R"j({"id":4,"error":{"code":-32602}})j"}},
      {R"j({"id":5,"method":"textDocument/hover","params":{"textDocument":5}})j", {R"j({"id":5,"error":{"code":-32602}})j"}},
      {R"j({"method":"unknown/notification"})j", {}},
      {R"j({"id":6,"method":"shutdown"})j", {R"j({"id":6,"result":null})j"}},
      {R"j({"id":7,"method":"textDocument/hover","params":{}})j", {R"j({"id":7,"error":{"code":-32600}})j"}}}},
    // What a careless or hostile client sends is answered, never a crash or
    // undefined behaviour; the session goes on after it.
    {"HostileMessages",
     {{R"j({"method":"textDocument/didOpen","params":)j" + DEEP + "}", {R"j({"id":null,"error":{"code":-32600}})j"}},
      {R"j({"id":1,"method":"initialize","params":{"capabilities":{},"initializationOptions":{"x":)j" + DEEP + "}}}",
       {R"j({"id":null,"error":{"code":-32600}})j"}},
      {R"j({"id":)j" + DEEP + R"j(,"method":"initialize"})j", {R"j({"id":null,"error":{"code":-32600}})j"}},
      {R"j({"id":{"a":1},"method":"initialize"})j", {R"j({"id":null,"error":{"code":-32600}})j"}},
      {"5", {R"j({"id":null,"error":{"code":-32600}})j"}},
      // Brackets in a string (after an escaped quote too) nest nothing.
      {R"j({"method":"x/y","params":{"s":"\")j" + nested(100) + R"j("}})j", {}},
      // Settings of the wrong type are said and ignored; initialize answers.
      {R"j({"id":1,"method":"initialize","params":{"capabilities":{},
           "initializationOptions":{"warnings":5,"inlayHints":{"hide":[null]},"debounceMs":"x"}}})j",
       {R"j({"method":"window/logMessage","params":{"type":2}})j", R"j({"method":"window/logMessage","params":{"type":2}})j",
        R"j({"method":"window/logMessage","params":{"type":2}})j", INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, CLEAN_TRAIN_1}},
      // A version past 32 bits is no version: the change is not taken.
      {R"j({"method":"textDocument/didChange","params":{"textDocument":{"uri":"$TRAIN","version":18446744073709551615},"contentChanges":[{"text":""}]}})j",
       {}},
      {R"j({"id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":2147483647,"character":0}}})j",
       {R"j({"id":2,"result":null})j"}},
      {R"j({"id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":2147483648,"character":0}}})j",
       {R"j({"id":2,"error":{"code":-32602}})j"}},
      {R"j({"id":3,"method":"textDocument/hover","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":1,"character":-2147483648}}})j",
       {R"j({"id":3,"error":{"code":-32602}})j"}},
      {R"j({"id":4,"method":"textDocument/inlayHint","params":{"textDocument":{"uri":"$TRAIN"},"range":{"start":{"line":1e300,"character":0},"end":{"line":2,"character":0}}}})j",
       {R"j({"id":4,"error":{"code":-32602}})j"}},
      {R"j({"method":"workspace/didChangeConfiguration","params":{"settings":{"scenarioCompiler":{"debounceMs":1e300,"x":)j" + DEEP + "}}}}",
       {R"j({"id":null,"error":{"code":-32600}})j"}},
      // A request the client cancelled while it waited is answered as cancelled.
      {"cancel 5", {}},
      {R"j({"id":5,"method":"textDocument/foldingRange","params":{"textDocument":{"uri":"$TRAIN"}}})j",
       {R"j({"id":5,"error":{"code":-32800}})j"}},
      {R"j({"id":6,"method":"shutdown"})j", {R"j({"id":6,"result":null})j"}},
      // After shutdown a notification is ignored.
      {R"j({"method":"textDocument/didClose","params":{"textDocument":{"uri":"$TRAIN"}}})j", {}}}},
    // A debounce asked for beyond reason (held to 5 s) still lets the edits through.
    {"DebounceIsBounded",
     {{R"j({"id":1,"method":"initialize","params":{"capabilities":{},"initializationOptions":{"debounceMs":2147483647}}})j", {INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, CLEAN_TRAIN_1}},
      // Held back no longer than a compile takes (100 ms here), however large the setting.
      {CHANGE_2, {}, 10, COLLIDE},
      {R"j({"method":"textDocument/didChange","params":{"textDocument":{"uri":"$TRAIN","version":3},"contentChanges":[{"text":$TEXT}]}})j",
       {}, 20},
      {"tick", {}, 150},
      {"tick", {CLEAN_ROUTE, R"j({"params":{"uri":"$TRAIN","version":3,"diagnostics":[]}})j"}, 210}}},
    // The server syncs whole documents: a change with a range is refused, not applied.
    {"RangedChangeRefused",
     {{INIT, {INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, CLEAN_TRAIN_1}},
      {R"j({"method":"textDocument/didChange","params":{"textDocument":{"uri":"$TRAIN","version":2},"contentChanges":[
           {"range":{"start":{"line":0,"character":0},"end":{"line":0,"character":1}},"text":"x"}]}})j",
       {R"j({"method":"window/logMessage","params":{"type":1}})j"}, 1000},
      {R"j({"id":2,"method":"textDocument/foldingRange","params":{"textDocument":{"uri":"$TRAIN"}}})j",
       {R"j({"id":2,"result":[{"startLine":0,"endLine":4},"..."]})j"}}}},
    {"DiagnosticsFollowEachVersion",
     {{INIT, {INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, CLEAN_TRAIN_1}},
      {CHANGE_2, {CLEAN_ROUTE, E16_2}, 1000, COLLIDE},
      {R"j({"method":"textDocument/didChange","params":{"textDocument":{"uri":"$TRAIN","version":3},"contentChanges":[{"text":$TEXT}]}})j",
       {CLEAN_ROUTE, R"j({"method":"textDocument/publishDiagnostics","params":{"uri":"$TRAIN","version":3,"diagnostics":[]}})j"}, 2000},
      // The partner gone from disk: the next compile says so, and checks the train alone.
      {"remove the route file", {}},
      {R"j({"method":"textDocument/didChange","params":{"textDocument":{"uri":"$TRAIN","version":4},"contentChanges":[{"text":$TEXT}]}})j",
       {R"j({"params":{"uri":"$TRAIN","version":4,"diagnostics":[{"range":{"start":{"line":0,"character":0}},
            "severity":3,"message":"no route file beside this train file: Lidonia_Sabrio_linea.txt or Lidonia_linea.txt is missing: the train is checked alone, for what needs no route"}]}})j"}, 3000},
      {R"j({"method":"textDocument/didClose","params":{"textDocument":{"uri":"$TRAIN"}}})j",
       {R"j({"method":"textDocument/publishDiagnostics","params":{"uri":"$TRAIN","diagnostics":[]}})j"}}}},
    // Edits that come while the server has been idle for less time than its last
    // compile took (100 ms here) are compiled once, as the latest version, when it
    // has been; an edit after a pause at once.
    {"RapidEditsCoalesce",
     {{INIT, {INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, CLEAN_TRAIN_1}},
      {CHANGE_2, {CLEAN_ROUTE, E16_2}, 1000, COLLIDE},
      {R"j({"method":"textDocument/didChange","params":{"textDocument":{"uri":"$TRAIN","version":3},"contentChanges":[{"text":$TEXT}]}})j",
       {}, 1050},
      {R"j({"method":"textDocument/didChange","params":{"textDocument":{"uri":"$TRAIN","version":4},"contentChanges":[{"text":$TEXT}]}})j",
       {}, 1100, COLLIDE},
      {"tick", {}, 1150},
      {"tick", {CLEAN_ROUTE, R"j({"params":{"uri":"$TRAIN","version":4,"diagnostics":[{"code":"E16"}]}})j"}, 1200}}},
    // The running times where the author edits them: on a station's time, the
    // section's scheduled and minimum times and its margin; on a restriction's
    // speed, the braking it needs from the line speed at its warning.
    {"RunningTimesOnHover",
     {{INIT, {INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, CLEAN_TRAIN_1}},
      {R"j({"id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":41,"character":62}}})j",
       {R"j({"id":2,"result":{"contents":{"value":"**hours**, field 14 of `stazione` (train file), in h\n\na whole number (stored in 32 bits, -2147483648 to 2147483647): timetable time: hours; 0, 0, 0 for no time\n\n**running time** from LIDONIA CENTRALE (10:48:00), 37,650 m\n\n- scheduled: 27 min 00 s\n- minimum: 18 min 07 s stopping here, 17 min 31 s running through\n- margin: 8 min 53 s (49%)\n- limited most by the line speed 160 km/h, 14,836 to 24,950 m\n\n_the default train (84 t locomotive of 5.0 MW and 12 coaches of 46 t, braked mass 125%), stopping at every timed station_"},"range":{"start":{"line":41,"character":62}}}})j"}},
      {R"j({"id":3,"method":"textDocument/hover","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":72,"character":27}}})j",
       {R"j({"id":3,"result":{"contents":{"value":"**speed**, field 2 of `rallentamento` (train file), in km/h\n\na whole number (stored in 32 bits, -2147483648 to 2147483647): the restricted speed\n\n**braking** from 160 km/h, the line speed at its warning 1,200 m before it, to 60 km/h: 1,029 m, within the warning's distance\n\n_braked mass 125%, mean gradient 0.0 per mille_"}}})j"}}}},
    {"LoneFileAndUnconvertibleCharacter",
     {{INIT, {INIT_OUT}},
      // A lone file is checked, with a note of what is missing beside it.
      {R"j({"method":"textDocument/didOpen","params":{"textDocument":{"uri":"$LONE","version":1,"text":"[generale]\nsegnale, 100, 2\n[fine]\n"}}})j",
       {R"j({"params":{"uri":"$LONE","diagnostics":[{"severity":3,"range":{"start":{"line":0,"character":0}},
            "message":"no route file beside this train file: A_B_linea.txt or A_linea.txt is missing: the train is checked alone, for what needs no route"},
            {"code":"E25","range":{"start":{"line":1}}}]}})j"}},
      {R"j({"method":"textDocument/didOpen","params":{"textDocument":{"uri":"$SOLO","version":1,"text":"[generale]\nlunghezza percorso, 9000\n[curve]\ncurvaz, 5200, 500\n[fine]\n"}}})j",
       {R"j({"params":{"uri":"$SOLO","diagnostics":[{"severity":3,
            "message":"no train file beside this route file: C_N-.txt is missing: the route is checked with an empty train"},
            {"code":"E103","range":{"start":{"line":3}}},"..."]}})j"}},
      {OPEN_TRAIN, {CLEAN_ROUTE, CLEAN_TRAIN_1}},
      // U+1F600 takes two UTF-16 units before the fault's field; U+2713 has no Windows-1252 form.
      {CHANGE_2, {CLEAN_ROUTE, R"j({"params":{"uri":"$TRAIN","version":2,"diagnostics":[
           {"message":"'\u2713' (U+2713) has no Windows-1252 form: the file cannot hold it, and the compile reads '?' in its place",
            "range":{"start":{"line":36,"character":88},"end":{"line":36,"character":89}}},
           {"code":"-Wcomment"},
           {"message":"'\ud83d\ude00' (U+1F600) has no Windows-1252 form: the file cannot hold it, and the compile reads '?' in its place",
            "range":{"start":{"line":78,"character":1},"end":{"line":78,"character":3}}},
           {"code":"E16","range":{"start":{"line":78,"character":18},"end":{"line":78,"character":22}}}]}})j"},
       1000,
       {{37, "stazione,       0,  8,  500,  1, 0, 0,  4,1,1,  2,1,1,    1,  10,48, 0, LIDONIA CENTRALE\xE2\x9C\x93"},
        {79, "-\xF0\x9F\x98\x80-, segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0"}}}}},
    // A fix is offered only where the compile with it loses the diagnostic and
    // gains no error: the signal at 1660 m is in the cell of line 78's, and so
    // would be at 1650 m, the nearer multiple of 50; the fix moves it to 1700 m.
    {"QuickFixes",
     {{INIT, {INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, R"j({"params":{"uri":"$TRAIN","diagnostics":[{"code":"-Wunknown-keyword"},{"code":"-Wextra-fields"},
           {"code":"E16"},{"code":"-Wcell-rounding"},{"code":"E25"}]}})j"},
       0,
       {{74, "rallentamentto,   76950,    50, 1800, 0,  1,  50"},
        {75, "rallentamento,  168900,    40,  200, 0,  1,  40, 9"},
        {79, "segnale,    1660,   2, 4, 1,  0, 0,    2,  3,1,0, 0"},
        {80, "segnale,    5500,   2, 4, 1,  1, 0,    2,  2,1,1"}}},
      {R"j({"id":2,"method":"textDocument/codeAction","params":{"textDocument":{"uri":"$TRAIN"},"range":{"start":{"line":70,"character":0},"end":{"line":81,"character":0}},"context":{"diagnostics":[]}}})j",
       {R"j({"id":2,"result":[
            {"title":"replace with 'rallentamento'","kind":"quickfix","diagnostics":[{"code":"-Wunknown-keyword"}],
             "edit":{"changes":{"$TRAIN":[{"newText":"rallentamento","range":{"start":{"line":73,"character":0},"end":{"line":73,"character":14}}}]}}},
            {"title":"remove the fields after the last value","edit":{"changes":{"$TRAIN":[{"newText":"","range":{"start":{"line":74,"character":47},"end":{"line":74,"character":50}}}]}}},
            {"title":"move the position to 1700 m","diagnostics":[{"code":"-Wcell-rounding"}],
             "edit":{"changes":{"$TRAIN":[{"newText":"1700","range":{"start":{"line":78,"character":12},"end":{"line":78,"character":16}}}]}}},
            {"title":"add the missing field as 0",
             "edit":{"changes":{"$TRAIN":[{"newText":", 0","range":{"start":{"line":79,"character":48},"end":{"line":79,"character":48}}}]}}}]})j"}},
      {R"j({"id":3,"method":"textDocument/codeAction","params":{"textDocument":{"uri":"$TRAIN"},"range":{"start":{"line":0,"character":0},"end":{"line":0,"character":0}},"context":{"diagnostics":[],"only":["source.fixAll"]}}})j",
       {R"j({"id":3,"result":[{"title":"apply the 4 safe fixes","kind":"source.fixAll"}]})j"}}}},
    // A fix on a line with an error is offered only where it mends it: a signal at
    // 20 m takes cell 1, reserved, and so would at 0 m; the fix moves it to 50 m.
    {"FixesMendTheirLine",
     {{INIT, {INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, R"j({"params":{"uri":"$TRAIN","diagnostics":[
           {"code":"E1250","codeDescription":{"href":"$REFERENCE#reserved-cell-1"}},{"code":"-Wcell-rounding"}]}})j"},
       0, {{78, "segnale,    20,   2, 4, 0,  0, 0,    2,  1,0,0, 0"}}},
      {R"j({"id":2,"method":"textDocument/codeAction","params":{"textDocument":{"uri":"$TRAIN"},"range":{"start":{"line":77,"character":0},"end":{"line":77,"character":0}},"context":{"diagnostics":[]}}})j",
       {R"j({"id":2,"result":[{"title":"move the position to 50 m"}]})j"}},
      {R"j({"id":3,"method":"textDocument/codeAction","params":{"textDocument":{"uri":"$TRAIN"},"range":{"start":{"line":0,"character":0},"end":{"line":0,"character":0}},"context":{"diagnostics":[],"only":["source.fixAll"]}}})j",
       {R"j({"id":3,"result":[{"title":"apply the 1 safe fixes","edit":{"changes":{"$TRAIN":[{"newText":"50"}]}}}]})j"}}}},
    {"EditorFeatures",
     {{R"j({"id":1,"method":"initialize","params":{"capabilities":{"textDocument":{"completion":{"completionItem":{"snippetSupport":true}}}},
          "initializationOptions":{"inlayHints":{"hide":["velocita"]}}}})j",
       {INIT_OUT}},
      {OPEN_TRAIN, {CLEAN_ROUTE, CLEAN_TRAIN_1}},
      {R"j({"id":2,"method":"textDocument/hover","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":77,"character":13}}})j",
       {R"j({"id":2,"result":{"range":{"start":{"line":77,"character":12},"end":{"line":77,"character":16}},"contents":{"kind":"markdown",
            "value":"**position**, field 1 of `segnale` (train file), in m\n\na whole number (stored in 32 bits, -2147483648 to 2147483647): where the signal stands\n\nat km 348+450\n\nits object takes cell 34 (metres 1700 to 1749)"}}})j"}},
      {R"j({"id":3,"method":"textDocument/inlayHint","params":{"textDocument":{"uri":"$TRAIN"},"range":{"start":{"line":8,"character":0},"end":{"line":9,"character":0}}}})j",
       {R"j({"id":3,"result":[]})j"}},
      {R"j({"id":4,"method":"textDocument/inlayHint","params":{"textDocument":{"uri":"$TRAIN"},"range":{"start":{"line":77,"character":0},"end":{"line":78,"character":0}}}})j",
       {R"j({"id":4,"result":[{"label":"pos:","position":{"line":77,"character":12}},{"label":"sx:"},{"label":"s1:"},{"label":"s2:"},{"label":"s3:"},
            {"label":"rapp:"},{"label":"dx:"},{"label":"d1:"},{"label":"d2:"},{"label":"d3:"},{"label":"time:","position":{"line":77,"character":50}}]})j"}},
      // Only the values that begin within the range.
      {R"j({"id":10,"method":"textDocument/inlayHint","params":{"textDocument":{"uri":"$TRAIN"},"range":{"start":{"line":77,"character":13},"end":{"line":77,"character":20}}}})j",
       {R"j({"id":10,"result":[{"label":"sx:","position":{"line":77,"character":20}}]})j"}},
      {R"j({"id":5,"method":"textDocument/signatureHelp","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":77,"character":18}}})j",
       {R"j({"id":5,"result":{"activeParameter":1,"signatures":[{"label":"segnale, position, sx, s1, s2, s3, rapp, dx, d1, d2, d3, time value",
            "parameters":[{"label":[9,17]},{"label":[19,21]},{},{},{},{},{},{},{},{},{"label":[57,67]}]}]}})j"}},
      {R"j({"id":6,"method":"textDocument/documentSymbol","params":{"textDocument":{"uri":"$ROUTE"}}})j",
       {R"j({"id":6,"error":{"code":-32602}})j"}},
      {R"j({"id":8,"method":"textDocument/formatting","params":{"textDocument":{"uri":"$TRAIN"},"options":{"tabSize":4,"insertSpaces":true}}})j",
       {R"j({"id":8,"result":[{"newText":"numero vetture, 12","range":{"start":{"line":1,"character":0},"end":{"line":1,"character":21}}},
            {"newText":"percentuale massa frenata, 125"},{"newText":"sabbia, 200"},{"newText":"aderenza, 0, 100"},"..."]})j"}},
      {R"j({"id":9,"method":"textDocument/foldingRange","params":{"textDocument":{"uri":"$TRAIN"}}})j",
       {R"j({"id":9,"result":[{"startLine":0,"endLine":4},{"startLine":5,"endLine":6},{"startLine":7,"endLine":34},"..."]})j"}},
      {R"j({"id":7,"method":"textDocument/completion","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":76,"character":0}}})j",
       {R"j({"id":7,"result":{"isIncomplete":false}})j"}},
      // A spelling the reader accepts, with its accent: hover and signature help as for its keyword.
      {CHANGE_2, {CLEAN_ROUTE, R"j({"params":{"uri":"$TRAIN","version":2,"diagnostics":[]}})j"}, 1000,
       {{10, "velocit\xC3\xA0,    2000,   150"}}},
      {R"j({"id":11,"method":"textDocument/hover","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":9,"character":2}}})j",
       {R"j({"id":11,"result":{"range":{"start":{"line":9,"character":0},"end":{"line":9,"character":8}}}})j"}},
      {R"j({"id":12,"method":"textDocument/signatureHelp","params":{"textDocument":{"uri":"$TRAIN"},"position":{"line":9,"character":14}}})j",
       {R"j({"id":12,"result":{"activeParameter":0,"signatures":[{"label":"velocita, position, speed limit"}]}})j"}}}},
};

std::string json_string(const std::string& s) { return json(s).dump(); }

void replace_all(std::string& s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
}

class Transcript : public testing::TestWithParam<transcript> {};

TEST_P(Transcript, AnswersAsExpected) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    std::ifstream in(files.train, std::ios::binary);
    const std::string carried = utf8_da_1252(std::string(std::istreambuf_iterator<char>(in), {}));
    std::filesystem::create_directory(dir.path() / "lone");
    const std::map<std::string, std::string> uris = {{"$ROUTE", uri_of_path(files.route)},
                                                     {"$TRAIN", uri_of_path(files.train)},
                                                     {"$LONE", uri_of_path(dir.path() / "lone" / "A_B_7-.txt")},
                                                     {"$SOLO", uri_of_path(dir.path() / "lone" / "C_linea.txt")},
                                                     // The reference as the server finds it: under Wine, a path on the emulator's drive.
                                                     {"$REFERENCE", uri_of_path(reference_document().value_or(test_paths::format_reference))}};
    std::ostringstream out;
    server_settings settings;
    settings.compile_time = std::chrono::milliseconds(100);
    language_server server(out, settings);
    const auto start = language_server::clock::now();
    size_t read = 0;
    for (const step& s : GetParam().steps) {
        std::string in_text = s.in;
        for (const auto& [k, v] : uris) replace_all(in_text, k, v);
        replace_all(in_text, "$TEXT", json_string(with_lines(carried, s.edit)));
        const auto now = start + std::chrono::milliseconds(s.at_ms);
        if (s.in == "tick") server.tick(now);
        else if (s.in.rfind("cancel ", 0) == 0) server.cancel(s.in.substr(7));
        else if (s.in == "remove the route file") std::filesystem::remove(files.route);
        else server.handle({in_text, std::nullopt}, now);
        // The messages the step sent.
        std::vector<json> sent;
        const std::string all = out.str();
        while (read < all.size()) {
            const size_t head = all.find("\r\n\r\n", read);
            ASSERT_NE(head, std::string::npos);
            const size_t n = std::stoul(all.substr(read + 16, head - read - 16));
            sent.push_back(json::parse(all.substr(head + 4, n)));
            read = head + 4 + n;
        }
        ASSERT_EQ(sent.size(), s.out.size()) << "after " << s.in.substr(0, 120) << "\n" << json(sent).dump();
        for (size_t i = 0; i < sent.size(); ++i) {
            std::string expected_text = s.out[i];
            for (const auto& [k, v] : uris) replace_all(expected_text, k, v);
            const std::string why = mismatch(json::parse(expected_text), sent[i]);
            EXPECT_EQ(why, "") << "after " << s.in.substr(0, 120) << "\n" << sent[i].dump();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Server, Transcript, testing::ValuesIn(TRANSCRIPTS),
                         [](const testing::TestParamInfo<transcript>& info) { return std::string(info.param.name); });

}  // namespace

// Requests over a document of some 130,000 hints and 12,000 symbols, asked for
// whole: each answer holds at most MAX_ANSWER_ITEMS entries, hints no more
// lines than MAX_RANGE_LINES from the first asked.
TEST(Server, AnswersOverALargeDocumentAreBounded) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    std::ifstream in(files.train, std::ios::binary);
    std::string text = utf8_da_1252(std::string(std::istreambuf_iterator<char>(in), {}));
    std::string signals;
    for (int i = 0; i < 12000; ++i) signals += "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0\n";
    text.insert(text.find("segnale"), signals);
    std::ostringstream out;
    language_server server(out, {});
    const auto now = language_server::clock::now();
    const std::string uri = json(uri_of_path(files.train)).dump();
    for (const std::string& m : {INIT, R"j({"method":"textDocument/didOpen","params":{"textDocument":{"uri":)j" + uri +
                                             R"j(,"version":1,"text":)j" + json(text).dump() + "}}}"})
        server.handle({m, std::nullopt}, now);
    const auto answer = [&](const std::string& method, const std::string& more) {
        out.str("");
        server.handle({R"j({"id":9,"method":")j" + method + R"j(","params":{"textDocument":{"uri":)j" + uri + "}" + more + "}}",
                       std::nullopt},
                      now);
        const std::string all = out.str();
        return json::parse(all.substr(all.find("\r\n\r\n") + 4))["result"];
    };
    const json hints = answer("textDocument/inlayHint", R"j(,"range":{"start":{"line":0,"character":0},"end":{"line":2147483646,"character":0}})j");
    EXPECT_EQ(hints.size(), MAX_ANSWER_ITEMS);
    const json far = answer("textDocument/inlayHint", R"j(,"range":{"start":{"line":2000,"character":0},"end":{"line":2147483646,"character":0}})j");
    ASSERT_FALSE(far.empty());
    EXPECT_LE(far.back()["position"]["line"].get<int64_t>(), 2000 + MAX_RANGE_LINES);
    size_t symbols = 0;
    const std::function<void(const json&)> count = [&](const json& list) {
        for (const json& s : list) ++symbols, count(s.value("children", json::array()));
    };
    count(answer("textDocument/documentSymbol", ""));
    EXPECT_EQ(symbols, MAX_ANSWER_ITEMS);
}

// The reader sees cancellations ahead of the handler: only $/cancelRequest's id counts.
TEST(Server, CancellationsAreSeenAheadByTheirIdOnly) {
    EXPECT_EQ(cancelled_request(R"j({"jsonrpc":"2.0","method":"$/cancelRequest","params":{"id":5}})j"), "5");
    EXPECT_EQ(cancelled_request(R"j({"method":"$/cancelRequest","params":{"id":"a"}})j"), "\"a\"");
    EXPECT_EQ(cancelled_request(R"j({"method":"$/cancelRequest","params":{"id":[1]}})j"), std::nullopt);
    EXPECT_EQ(cancelled_request(R"j({"id":5,"method":"x","params":{"text":"$/cancelRequest"}})j"), std::nullopt);
}

// A document past the input limit is not compiled or served: one diagnostic at
// its start says why, and a request on it is Invalid params.
TEST(Server, ADocumentPastTheLimitIsRefused) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    std::ostringstream out;
    language_server server(out, {});
    const auto now = language_server::clock::now();
    const std::string uri = json(uri_of_path(files.train)).dump();
    const std::string text(MAX_INPUT_FILE_BYTES + 1, ';');
    for (const std::string& m : {INIT, R"j({"method":"textDocument/didOpen","params":{"textDocument":{"uri":)j" + uri +
                                             R"j(,"version":1,"text":)j" + json(text).dump() + "}}}",
                                 R"j({"id":2,"method":"textDocument/foldingRange","params":{"textDocument":{"uri":)j" + uri + "}}}"})
        server.handle({m, std::nullopt}, now);
    std::vector<json> sent;
    const std::string all = out.str();
    for (size_t at = 0; at < all.size();) {
        const size_t head = all.find("\r\n\r\n", at);
        const size_t n = std::stoul(all.substr(at + 16, head - at - 16));
        sent.push_back(json::parse(all.substr(head + 4, n)));
        at = head + 4 + n;
    }
    ASSERT_EQ(sent.size(), 3u);
    const json& d = sent[1]["params"]["diagnostics"];
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0]["range"]["start"], json({{"line", 0}, {"character", 0}}));
    EXPECT_NE(d[0]["message"].get<std::string>().find("is too large: 16777217 bytes"), std::string::npos) << d;
    EXPECT_EQ(sent[2]["error"]["code"], -32602);
}
