// The compile's cost beside the cost of writing its own output.
//
//   scenario_bench EXECUTABLE [--runs N] [--lengths L1,L2,...] [--keep DIR] [--only targets]
//
// First the targets, in paired rounds: the start-up (`--version`, and `compile
// --check` of the carried scenario) against a C++ hello world linked to the
// standard library alone (bench_hello, beside this driver), and the 1,000,000 m
// compile against its own `compile --check` plus the floor writer. With --only
// targets, nothing else.
// Exports the carried scenario, makes from it scenarios of the given lengths
// (its lines repeated along the line, so that every kilometre has the carried
// density of curves, gradients, boards, signals, restrictions and spans; the
// stations up to what the record table holds), and for each times a whole
// `compile` process and, right after it, `cp` of the same three output files,
// N times each, interleaved, and the floor: the same bytes written from memory.
// Then the same for the fixed run and its six files.
// Prints per length: the medians, the median of the paired ratios, the cost per
// kilometre from the previous length, and the child's peak resident memory.
// Then the fault search: `compile --check --error-limit 0` of each scenario with
// 99 of its signals doubled (99 errors) against the same scenario as it is.
// Then the language server's latency from an edit (after a pause, and 20 ms after
// the last diagnostics, as an author types) to the diagnostics of that version, on the carried scenario and on a
// 1,000,000 m one with 99 faults, and its resident memory over 1,000 edits.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "model/nomi_file.h"
#include "model/voce.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string ID = "Bench", NUMBER = "1";
constexpr int32_t PERIOD = 245000;  // the carried line is 243,000 m; copies leave a gap

struct measured {
    double seconds = 0;
    long peak_kib = 0;
    int status = -1;
};

// Runs argv[0] with its arguments in `cwd`, quietly; wall time and the child's peak resident memory.
measured run(const std::vector<std::string>& args, const fs::path& cwd) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const fs::path back = fs::current_path();
    fs::current_path(cwd);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    measured m;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        m.peak_kib = usage.ru_maxrss;
        m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    fs::current_path(back);
    posix_spawn_file_actions_destroy(&actions);
    return m;
}

std::vector<std::string> lines_of(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, ',');) out.push_back(f);
    return out;
}

std::string joined(const std::vector<std::string>& f) {
    std::string out;
    for (size_t i = 0; i < f.size(); ++i) out += (i ? "," : "") + f[i];
    return out;
}

bool has(const std::string& s, const char* word) { return s.find(word) != std::string::npos; }

// A file's sections, each header with its lines; the general section first.
struct section {
    std::string header;
    std::vector<std::string> lines;
};
std::vector<section> sections_of(const std::vector<std::string>& lines) {
    std::vector<section> out;
    for (const std::string& l : lines) {
        if (!l.empty() && l[0] == '[')
            out.push_back({l, {}});
        else if (!out.empty() && !l.empty())
            out.back().lines.push_back(l);
    }
    return out;
}

// The line moved `offset` metres along, or nothing when it would leave the route.
bool shifted(const std::string& line, int32_t offset, int32_t length, std::string& out) {
    std::vector<std::string> f = fields(line);
    if (f.size() < 2) return false;
    const int64_t at = std::stoll(f[1]) + offset;
    if (at > length - 1000) return false;
    // Appended piecewise: g++ 12's release build takes `" " + std::to_string(...)`
    // for an overlapping copy (-Wrestrict).
    f[1] = std::string(" ").append(std::to_string(at));
    if (has(f[0], "montagna") && f.size() > 2) f[2] = std::string(" ").append(std::to_string(std::stoll(f[2]) + offset));
    out = joined(f);
    return true;
}

// The carried scenario's files made `length` metres long.
void make_scenario(const fs::path& carried, int32_t length, const fs::path& dir) {
    fs::create_directories(dir);
    int boards = 0, stations = 0;
    for (const bool route : {true, false}) {
        const std::vector<section> in =
            sections_of(lines_of(carried / (route ? "Lidonia_Sabrio_linea.txt" : "Lidonia_Sabrio_914-.txt")));
        std::string out;
        for (const section& s : in) {
            out += s.header + "\r\n";
            if (has(s.header, "generale")) {
                for (std::string l : s.lines) {
                    if (has(l, "lunghezza percorso")) l = std::string("lunghezza percorso, ").append(std::to_string(length));
                    if (has(l, "ripetizione segnali")) l = fields(l)[0] + ", 0, " + std::to_string(length - 2000);
                    out += l + "\r\n";
                }
                continue;
            }
            for (int32_t offset = 0; offset < length; offset += PERIOD)
                for (const std::string& l : s.lines) {
                    std::string moved;
                    if (!shifted(l, offset, length, moved)) continue;
                    // Stations and boards share the record table: boards first, stations to its end.
                    if (has(l, "cartello_indicatore")) ++boards;
                    if (has(l, "stazione") && ++stations + boards >= VOCE_PRIMO_CARTELLO - 1) continue;
                    out += moved + "\r\n";
                }
        }
        std::ofstream(dir / (route ? ID + "_linea.txt" : ID + "_" + NUMBER + "-.txt"), std::ios::binary) << out;
    }
}

// The scenario in `dir` with `faults` of its train file's signals doubled, spread
// along the line: each copy takes its original's cell, one error each. The
// number doubled (fewer when the file has fewer signals).
int with_collisions(const fs::path& dir, const fs::path& to, int faults) {
    fs::create_directories(to);
    fs::copy_file(dir / (ID + "_linea.txt"), to / (ID + "_linea.txt"), fs::copy_options::overwrite_existing);
    const std::vector<std::string> lines = lines_of(dir / (ID + "_" + NUMBER + "-.txt"));
    int signals = 0;
    for (const std::string& l : lines) signals += has(l, "segnale");
    const int every = std::max(1, signals / faults);
    std::string out;
    int seen = 0, doubled = 0;
    for (const std::string& l : lines) {
        out += l + "\r\n";
        if (has(l, "segnale") && seen++ % every == 0 && doubled < faults) {
            out += l + "\r\n";
            ++doubled;
        }
    }
    std::ofstream(to / (ID + "_" + NUMBER + "-.txt"), std::ios::binary) << out;
    return doubled;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct row {
    std::string what;
    double compile_s, copy_s, ratio, floor_s;
    long peak_kib;
};

// The floor: the same files written from memory, one write() each, to a new
// file renamed over the old one, as the compile writes them. In a child of its
// own, so that the bytes held never count in this process's peak memory, which
// a spawned child's would include.
double write_floor(const std::vector<fs::path>& files, const fs::path& dir) {
    int pipe_fd[2];
    if (pipe(pipe_fd) != 0) std::exit(1);
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<std::string> bytes;
        for (const fs::path& f : files) {
            std::ifstream in(f, std::ios::binary);
            bytes.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        const auto start = std::chrono::steady_clock::now();
        for (size_t i = 0; i < bytes.size(); ++i) {
            const fs::path target = dir / std::string("floor").append(std::to_string(i)), temporary = dir / "floor.partial";
            const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (fd < 0 || ::write(fd, bytes[i].data(), bytes[i].size()) != static_cast<ssize_t>(bytes[i].size()))
                _exit(1);
            ::close(fd);
            fs::rename(temporary, target);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        _exit(::write(pipe_fd[1], &seconds, sizeof seconds) == sizeof seconds ? 0 : 1);
    }
    double seconds = 0;
    if (::read(pipe_fd[0], &seconds, sizeof seconds) != sizeof seconds) std::exit(1);
    waitpid(pid, nullptr, 0);
    ::close(pipe_fd[0]);
    ::close(pipe_fd[1]);
    return seconds;
}

// N interleaved pairs: the command, then cp of the files it wrote.
row pairs(const std::string& what, const std::vector<std::string>& command, const fs::path& cwd,
          const std::vector<std::string>& outputs, int runs) {
    const fs::path copies = cwd / "copies";
    fs::create_directories(copies);
    std::vector<std::string> cp = {"cp"};
    for (const std::string& o : outputs) cp.push_back((cwd / o).string());
    cp.push_back(copies.string());
    std::vector<double> compile, copy, ratio, floor;
    std::vector<fs::path> files;
    for (const std::string& o : outputs) files.push_back(cwd / o);
    long peak = 0;
    for (int r = 0; r < runs; ++r) {
        const measured c = run(command, cwd);
        if (c.status != 0) {
            std::cerr << what << ": the command ended with status " << c.status << "\n";
            std::exit(1);
        }
        const measured k = run(cp, cwd);
        floor.push_back(write_floor(files, copies));
        compile.push_back(c.seconds);
        copy.push_back(k.seconds);
        ratio.push_back(c.seconds / k.seconds);
        peak = std::max(peak, c.peak_kib);
    }
    return {what, median(compile), median(copy), median(ratio), median(floor), peak};
}

}  // namespace

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// `scenario-compiler lsp` on two pipes.
struct lsp_child {
    pid_t pid = -1;
    int in = -1, out = -1;
    std::string pending;

    explicit lsp_child(const fs::path& exe) {
        int to[2], from[2];
        if (pipe(to) != 0 || pipe(from) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, to[0], 0);
        posix_spawn_file_actions_adddup2(&actions, from[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addclose(&actions, to[1]);
        posix_spawn_file_actions_addclose(&actions, from[0]);
        const std::string path = exe.string();
        char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("lsp"), nullptr};
        if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(to[0]);
        close(from[1]);
        in = to[1], out = from[0];
    }
    ~lsp_child() {
        send(R"({"jsonrpc":"2.0","id":999,"method":"shutdown"})");
        send(R"({"jsonrpc":"2.0","method":"exit"})");
        close(in);
        close(out);
        int status = 0;
        if (pid > 0) waitpid(pid, &status, 0);
    }
    void send(const std::string& body) {
        const std::string m = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        for (size_t at = 0; at < m.size();) {
            const ssize_t n = write(in, m.data() + at, m.size() - at);
            if (n <= 0) return;
            at += static_cast<size_t>(n);
        }
    }
    // The next message's body; empty when none comes within 30 s.
    std::string next() {
        for (;;) {
            const size_t head = pending.find("\r\n\r\n");
            if (head != std::string::npos) {
                const size_t n = std::stoul(pending.substr(16, head - 16));
                if (pending.size() >= head + 4 + n) {
                    std::string body = pending.substr(head + 4, n);
                    pending.erase(0, head + 4 + n);
                    return body;
                }
            }
            pollfd p{out, POLLIN, 0};
            if (poll(&p, 1, 30000) <= 0) return "";
            char buffer[65536];
            const ssize_t got = read(out, buffer, sizeof buffer);
            if (got <= 0) return "";
            pending.append(buffer, static_cast<size_t>(got));
        }
    }
    // Waits for the train file's diagnostics of `version`.
    bool published(int version) {
        const std::string tag = "\"version\":" + std::to_string(version) + "}";
        for (std::string m = next(); !m.empty(); m = next())
            if (has(m, "publishDiagnostics") && has(m, "-.txt") && m.find(tag) != std::string::npos) return true;
        return false;
    }
    long resident_kib() const {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
        return 0;
    }
};

std::string json_text(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') out += '\\', out += c;
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x80) out += ' ';
        else out += c;
    }
    return out + "\"";
}

struct lsp_figures {
    double median_ms = 0, max_ms = 0;
    long rss_first_kib = 0, rss_last_kib = 0;
};

// Opens the train file, then edits it `edits` times, each after `pause_ms`,
// alternately to `edited` and back; the time from each change to its diagnostics.
lsp_figures lsp_latency(const fs::path& exe, const fs::path& train, const std::string& edited, int edits,
                        int pause_ms, int debounce_ms) {
    lsp_figures f;
    lsp_child server(exe);
    const std::string uri = "file://" + fs::absolute(train).string();
    const std::string text = slurp(train);
    server.send(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{},"initializationOptions":{"debounceMs":)" +
                std::to_string(debounce_ms) + "}}}");
    server.next();
    server.send(R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":")" + uri +
                R"(","version":1,"text":)" + json_text(text) + "}}}");
    if (!server.published(1)) return f;
    const std::string texts[2] = {json_text(edited), json_text(text)};
    std::vector<double> ms;
    for (int i = 0; i < edits; ++i) {
        if (pause_ms) usleep(static_cast<useconds_t>(pause_ms) * 1000);
        const auto start = std::chrono::steady_clock::now();
        server.send(R"({"jsonrpc":"2.0","method":"textDocument/didChange","params":{"textDocument":{"uri":")" + uri +
                    R"(","version":)" + std::to_string(i + 2) + R"(},"contentChanges":[{"text":)" + texts[i % 2] + "}]}}");
        if (!server.published(i + 2)) return f;
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (i == edits / 10) f.rss_first_kib = server.resident_kib();
    }
    f.rss_last_kib = server.resident_kib();
    f.median_ms = median(ms);
    f.max_ms = *std::max_element(ms.begin(), ms.end());
    return f;
}

// The train text with line n (1-based) replaced.
std::string with_line(const std::string& text, size_t n, const std::string& line) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    if (n >= 1 && n <= lines.size()) lines[n - 1] = line + "\r";
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
}

// `faults` signals each put into the cell of the one before it.
std::string with_faults(const std::string& text, int faults) {
    std::istringstream in(text);
    std::string out;
    std::string previous;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (faults > 0 && l.rfind("segnale", 0) == 0 && previous.rfind("segnale", 0) == 0) {
            std::vector<std::string> f = fields(l), g = fields(previous);
            f[1] = g[1];
            l = joined(f);
            --faults;
        }
        previous = l;
        out += l + "\r\n";
    }
    return out;
}

// The targets, `runs` paired rounds: the start-up against the hello world (at
// most 1.3 times), and the 1,000,000 m compile against its own check plus the
// floor (at most 1.1 times); the medians of the rounds' ratios, and peak memory.
void targets(const fs::path& exe, const fs::path& hello, const fs::path& work,
             const std::vector<std::string>& outputs, int runs) {
    const fs::path carried = work / "carried", big = work / "targets-1000000";
    make_scenario(carried, 1000000, big);
    const std::vector<std::string> compile = {exe.string(), "compile", ID + "_linea.txt", ID + "_" + NUMBER + "-.txt"};
    std::vector<std::string> check = compile;
    check.insert(check.begin() + 2, "--check");
    std::vector<fs::path> files;
    for (const std::string& o : outputs) files.push_back(big / o);
    const fs::path copies = big / "copies";
    fs::create_directories(copies);
    std::vector<double> h, v, c, big_compile, big_check, floor, version_ratio, check_ratio, big_ratio;
    long peak_version = 0, peak_check = 0, peak_compile = 0, peak_big_check = 0;
    const auto failed = [](const measured& m) {
        if (m.status == 0) return;
        std::cerr << "targets: a run ended with status " << m.status << "\n";
        std::exit(1);
    };
    // The start-up's rounds apart from the writing ones, whose writeback would
    // slow the next start; each round's order the reverse of the one before.
    for (int r = 0; r < runs; ++r) {
        measured mh, mv, mc;
        const auto hello_run = [&] { mh = run({hello.string()}, work); };
        const auto own_runs = [&] {
            mv = run({exe.string(), "--version"}, work);
            mc = run({exe.string(), "compile", "--check", "Lidonia_Sabrio_linea.txt", "Lidonia_Sabrio_914-.txt"}, carried);
        };
        if (r % 2) own_runs(), hello_run();
        else hello_run(), own_runs();
        failed(mh), failed(mv), failed(mc);
        h.push_back(mh.seconds), v.push_back(mv.seconds), c.push_back(mc.seconds);
        version_ratio.push_back(mv.seconds / mh.seconds), check_ratio.push_back(mc.seconds / mh.seconds);
        peak_version = std::max(peak_version, mv.peak_kib), peak_check = std::max(peak_check, mc.peak_kib);
    }
    for (int r = 0; r < runs; ++r) {
        const measured bc = run(compile, big), bk = run(check, big);
        failed(bc), failed(bk);
        const double f = write_floor(files, copies);
        big_compile.push_back(bc.seconds), big_check.push_back(bk.seconds), floor.push_back(f);
        big_ratio.push_back(bc.seconds / (bk.seconds + f));
        peak_compile = std::max(peak_compile, bc.peak_kib), peak_big_check = std::max(peak_big_check, bk.peak_kib);
    }
    std::printf("%-34s %9s %9s %7s %9s\n", "targets", "ms", "ratio", "target", "peak MiB");
    std::printf("%-34s %9.2f %9s %7s %9s\n", "hello world (libstdc++ alone)", 1000 * median(h), "-", "-", "-");
    std::printf("%-34s %9.2f %9.2f %7s %9.1f\n", "--version / hello", 1000 * median(v), median(version_ratio), "1.30",
                peak_version / 1024.0);
    std::printf("%-34s %9.2f %9.2f %7s %9.1f\n", "carried compile --check / hello", 1000 * median(c),
                median(check_ratio), "-", peak_check / 1024.0);
    std::printf("%-34s %9.2f %9s %7s %9.1f\n", "1,000,000 m compile --check", 1000 * median(big_check), "-", "-",
                peak_big_check / 1024.0);
    std::printf("%-34s %9.2f %9s %7s %9s\n", "floor (the three files written)", 1000 * median(floor), "-", "-", "-");
    std::printf("%-34s %9.2f %9.2f %7s %9.1f\n", "1,000,000 m compile / (check+floor)", 1000 * median(big_compile),
                median(big_ratio), "1.10", peak_compile / 1024.0);
    std::printf("(medians of %d paired rounds; ratio: the median of the rounds' ratios)\n\n", runs);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: scenario_bench EXECUTABLE [--runs N] [--lengths L1,L2,...] [--keep DIR]\n";
        return 2;
    }
    const fs::path exe = fs::absolute(argv[1]);
    int runs = 7;
    std::vector<int32_t> lengths = {100000, 250000, 500000, 1000000};
    fs::path work;
    bool only_targets = false;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string opt = argv[i], val = argv[i + 1];
        if (opt == "--runs") runs = std::stoi(val);
        if (opt == "--keep") work = val;
        if (opt == "--only") only_targets = val == "targets";
        if (opt == "--lengths") {
            lengths.clear();
            for (const std::string& l : fields(val)) lengths.push_back(std::stoi(l));
        }
    }
    const bool keep = !work.empty();
    if (!keep) work = fs::temp_directory_path() / std::string("scenario-bench-").append(std::to_string(getpid()));
    fs::create_directories(work);
    if (run({exe.string(), "export", (work / "carried").string()}, work).status != 0) {
        std::cerr << "export failed\n";
        return 1;
    }

    const std::vector<std::string> outputs = {ID + "_linea.dat", ID + "_" + NUMBER + ".sim", ID + "_" + NUMBER + ".dat"};
    targets(exe, fs::absolute(argv[0]).parent_path() / "bench_hello", work, outputs, runs);
    if (only_targets) {
        if (!keep) fs::remove_all(work);
        return 0;
    }

    std::vector<row> rows;
    for (int32_t length : lengths) {
        const fs::path dir = work / std::to_string(length);
        make_scenario(work / "carried", length, dir);
        rows.push_back(pairs(std::to_string(length) + " m",
                             {exe.string(), "compile", ID + "_linea.txt", ID + "_" + NUMBER + "-.txt"}, dir, outputs,
                             runs));
    }
    // The fixed run writes beside its executable, and deletes its two text files.
    const fs::path fixed = work / "fixed";
    fs::create_directories(fixed);
    fs::copy_file(exe, fixed / "scenario-compiler", fs::copy_options::overwrite_existing);
    rows.push_back(pairs("fixed run", {(fixed / "scenario-compiler").string()}, fixed,
                         {"Lidonia_Sabrio_914_note.txt", "Lidonia_Sabrio_914_rallentamenti.txt",
                          "Lidonia_Sabrio_914_scheda_treno.txt", "Lidonia_Sabrio_linea.dat", "Lidonia_Sabrio_914.sim",
                          "Lidonia_Sabrio_914.dat"},
                         runs));

    std::printf("%-12s %11s %9s %7s %14s %9s %9s %12s\n", "scenario", "compile ms", "copy ms", "ratio",
                "ms/km (slope)", "peak MiB", "floor ms", "floor/copy");
    for (size_t i = 0; i < rows.size(); ++i) {
        const row& r = rows[i];
        std::string slope = "-";
        if (i > 0 && i < lengths.size()) {
            char b[32];
            std::snprintf(b, sizeof b, "%.4f", 1000 * (r.compile_s - rows[i - 1].compile_s) /
                                                   ((lengths[i] - lengths[i - 1]) / 1000.0));
            slope = b;
        }
        std::printf("%-12s %11.1f %9.1f %7.2f %14s %9.1f %9.1f %12.2f\n", r.what.c_str(), 1000 * r.compile_s,
                    1000 * r.copy_s, r.ratio, slope.c_str(), r.peak_kib / 1024.0, 1000 * r.floor_s,
                    r.floor_s / r.copy_s);
    }
    std::printf("(medians of %d interleaved runs; ratio: the median of compile / copy per pair; floor: the same\n"
                " files written from memory by this program, one write() each, to a new file renamed over the old)\n",
                runs);

    // The fault search: every fault found in one run, at about the cost of finding none.
    constexpr int FAULTS = 99;
    std::printf("\n%-12s %9s %12s %7s %14s\n", "scenario", "clean ms", "faults ms", "ratio", "ms/km (slope)");
    double previous_s = 0;
    for (size_t i = 0; i < lengths.size(); ++i) {
        const fs::path dir = work / std::to_string(lengths[i]), faulty = work / (std::to_string(lengths[i]) + "-faults");
        const int doubled = with_collisions(dir, faulty, FAULTS);
        const std::vector<std::string> check = {exe.string(), "compile", "--check", "--error-limit", "0",
                                                ID + "_linea.txt", ID + "_" + NUMBER + "-.txt"};
        std::vector<double> clean, faults, ratio;
        for (int r = 0; r < runs; ++r) {
            const measured c = run(check, dir), f = run(check, faulty);
            if (c.status != 0 || f.status != 1) {
                std::cerr << lengths[i] << " m: the checks ended with status " << c.status << " and " << f.status << "\n";
                return 1;
            }
            clean.push_back(c.seconds);
            faults.push_back(f.seconds);
            ratio.push_back(f.seconds / c.seconds);
        }
        std::string slope = "-";
        if (i > 0) {
            char b[32];
            std::snprintf(b, sizeof b, "%.4f",
                          1000 * (median(faults) - previous_s) / ((lengths[i] - lengths[i - 1]) / 1000.0));
            slope = b;
        }
        previous_s = median(faults);
        std::printf("%-12s %9.1f %12.1f %7.2f %14s\n", (std::to_string(lengths[i]) + " m").c_str(),
                    1000 * median(clean), 1000 * median(faults), median(ratio), slope.c_str());
        if (doubled != FAULTS) std::printf("  (%d faults: the scenario has no more signals to double)\n", doubled);
    }
    std::printf("(compile --check --error-limit 0 of each scenario as it is, and with %d of its signals doubled,\n"
                " each copy an error; ratio: the median of faults / clean per pair)\n",
                FAULTS);
    // The running times: `timetable` beside `compile --check`, and the share of the
    // check its default timetable and restriction warnings take.
    std::printf("\n%-12s %9s %12s %7s %14s\n", "scenario", "check ms", "timetable ms", "ratio", "warnings share");
    std::vector<std::pair<std::string, fs::path>> timed = {{"carried", work / "carried"}};
    for (const int32_t length : lengths) timed.push_back({std::to_string(length) + " m", work / std::to_string(length)});
    for (const auto& [what, dir] : timed) {
        const bool carried = what == "carried";
        const std::string route = carried ? "Lidonia_Sabrio_linea.txt" : ID + "_linea.txt";
        const std::string train = carried ? "Lidonia_Sabrio_914-.txt" : ID + "_" + NUMBER + "-.txt";
        std::vector<double> check, timetable, without, ratio;
        for (int r = 0; r < runs; ++r) {
            const measured c = run({exe.string(), "compile", "--check", route, train}, dir);
            const measured t = run({exe.string(), "timetable", route, train}, dir);
            const measured w =
                run({exe.string(), "compile", "--check", "-Wno-timetable", "-Wno-restriction", route, train}, dir);
            if (c.status != 0 || t.status != 0 || w.status != 0) {
                std::cerr << what << ": the timetable's runs ended with " << c.status << ", " << t.status << ", "
                          << w.status << "\n";
                return 1;
            }
            check.push_back(c.seconds), timetable.push_back(t.seconds), without.push_back(w.seconds);
            ratio.push_back(t.seconds / c.seconds);
        }
        std::printf("%-12s %9.1f %12.1f %7.2f %13.0f%%\n", what.c_str(), 1000 * median(check), 1000 * median(timetable),
                    median(ratio), 100 * (median(check) - median(without)) / median(check));
    }
    std::printf("(timetable of each scenario, text; ratio: the median of timetable / compile --check per run;\n"
                " warnings share: what -Wno-timetable -Wno-restriction takes off compile --check)\n");
    // The language server, as an author edits: each change after a pause of 250 ms.
    const fs::path carried_train = work / "carried" / "Lidonia_Sabrio_914-.txt";
    const std::string carried_text = slurp(carried_train);
    const std::string collided = with_line(carried_text, 79, "segnale,    1650,   2, 4, 1,  0, 0,    2,  3,1,0, 0");
    const lsp_figures small = lsp_latency(exe, carried_train, collided, 40, 250, 200);
    // And as fast as one types: each change 20 ms after the diagnostics of the one before.
    const lsp_figures typed = lsp_latency(exe, carried_train, collided, 40, 20, 200);
    const fs::path big = work / "lsp-1000000";
    make_scenario(work / "carried", 1000000, big);
    const fs::path big_train = big / (ID + "_" + NUMBER + "-.txt");
    const std::string faulty = with_faults(slurp(big_train), 99);
    std::ofstream(big_train, std::ios::binary) << faulty;
    const lsp_figures large = lsp_latency(exe, big_train, with_faults(faulty, 0) + "\r\n", 20, 250, 200);
    const lsp_figures large_typed = lsp_latency(exe, big_train, with_faults(faulty, 0) + "\r\n", 20, 20, 200);
    // Memory over 1,000 edits, each compiled (no debounce, no pause).
    const lsp_figures steady = lsp_latency(exe, carried_train, collided, 1000, 0, 0);
    std::printf("\nlanguage server, from didChange to its version's publishDiagnostics:\n");
    const auto row = [](const char* what, const lsp_figures& pause, const lsp_figures& fast, int edits) {
        std::printf("  %-27s after a pause: median %6.1f ms, max %6.1f ms; 20 ms apart: median %6.1f ms, max %6.1f ms"
                    " (%d edits each; ratio of the medians %.2f)\n",
                    what, pause.median_ms, pause.max_ms, fast.median_ms, fast.max_ms, edits,
                    pause.median_ms > 0 ? fast.median_ms / pause.median_ms : 0.0);
    };
    row("carried scenario:", small, typed, 40);
    row("1,000,000 m with 99 faults:", large, large_typed, 20);
    std::printf("  resident memory over 1,000 edits: %.1f MiB after 100, %.1f MiB after 1,000\n",
                steady.rss_first_kib / 1024.0, steady.rss_last_kib / 1024.0);
    if (!keep) fs::remove_all(work);
    return 0;
}
