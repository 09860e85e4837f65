#pragma once
// The compile of the pair an open document belongs to, as `compile --check` runs
// it, with the open buffers in place of their files, and its findings by file.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/warning_choice.h"
#include "lsp/documents.h"
#include "session/compile_session.h"
#include "text_input/campi_righe.h"

// The longest route the reader takes, in metres: a lone train's stand-in route,
// and the accepted range hover shows for a route's length.
constexpr int32_t LONGEST_ROUTE_M = LUNGHEZZA_MASSIMA;

struct checked_file {
    std::filesystem::path path;
    std::optional<int64_t> version;  // an open document's, at the compile
    std::string text;                // Windows-1252, as compiled
    std::vector<diagnostic> diagnostics;  // in this file (notes may be in the other)
    std::string partner_missing;          // a lone file's: what is missing beside it, and how it was checked
};

struct scenario_check {
    std::optional<scenario_pair> pair;
    std::shared_ptr<const session_compile> compile;  // none when the run could not compile
    checked_file route, train;
    train_model running_train;  // the train its running times assume: the trainProfile setting's, or the default
    // The file a place is in.
    const checked_file* of(file_testo f) const {
        return f == file_testo::linea ? &route : f == file_testo::treno ? &train : nullptr;
    }
};

// The pair of `path` compiled. A lone route or train file is compiled with a
// stand-in partner (its findings dropped) and says what is missing; a file of
// neither name, or a run that fails before it compiles (a file that cannot be
// read, an identifier that names no file), is one diagnostic at the start of `path`. Characters without a Windows-1252 form
// in an open buffer are a diagnostic each.
scenario_check check_scenario(const workspace& w, const std::filesystem::path& path, const warning_choice& warnings);

// The format reference's section for a diagnostic's code, as "format.md#anchor".
std::optional<std::string> code_reference(const std::string& code);
// The reference an editor links a code to: the installed one, or the checkout's
// when the program runs from its build tree; none when neither is there.
std::optional<std::filesystem::path> reference_document();
