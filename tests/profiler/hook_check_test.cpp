// Reads the source tree and checks that every definition of a listed routine
// starts with the entry hook of that same routine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "q64/profiler.h"
#include "tests/profiler/routine_calls.h"

#ifndef Q64_SOURCE_ROOT
#error "Q64_SOURCE_ROOT must name the repository root"
#endif

namespace {

namespace fs = std::filesystem;

std::set<std::string> listedNames() {
    const std::vector<std::string> list = prftest::listedNames();
    return std::set<std::string>(list.begin(), list.end());
}

// The text with comments, string literals and character literals blanked out
// (newlines kept, so offsets and line numbers stay).
std::string codeOnly(const std::string& s) {
    std::string out = s;
    size_t i = 0;
    auto blank = [&](size_t from, size_t to) {
        for (size_t k = from; k < to && k < out.size(); ++k) {
            if (out[k] != '\n') out[k] = ' ';
        }
    };
    while (i < s.size()) {
        if (s.compare(i, 2, "//") == 0) {
            size_t end = s.find('\n', i);
            if (end == std::string::npos) end = s.size();
            blank(i, end);
            i = end;
        } else if (s.compare(i, 2, "/*") == 0) {
            size_t end = s.find("*/", i + 2);
            end = end == std::string::npos ? s.size() : end + 2;
            blank(i, end);
            i = end;
        } else if (s[i] == '"' || s[i] == '\'') {
            const char quote = s[i];
            size_t k = i + 1;
            while (k < s.size() && s[k] != quote && s[k] != '\n') k += (s[k] == '\\') ? 2 : 1;
            blank(i, k + 1);
            i = k + 1;
        } else {
            ++i;
        }
    }
    return out;
}

bool isIdent(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

size_t skipSpace(const std::string& s, size_t i) {
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    return i;
}

struct Definition {
    std::string file;
    size_t line;
    bool hooked;
    std::string firstStatement;
};

// Every place where a listed name is followed by a parenthesised list and a
// body: a definition (a call is followed by anything but "{").
void scanFile(const fs::path& path, const std::set<std::string>& names,
              std::map<std::string, std::vector<Definition>>& found) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string code = codeOnly(buffer.str());
    for (size_t i = 0; i + 1 < code.size(); ++i) {
        if (code[i] != '_' || (i > 0 && isIdent(code[i - 1]))) continue;
        size_t end = i;
        while (end < code.size() && isIdent(code[end])) ++end;
        const std::string name = code.substr(i, end - i);
        if (!names.count(name)) {
            i = end;
            continue;
        }
        size_t open = skipSpace(code, end);
        if (open >= code.size() || code[open] != '(') continue;
        int depth = 0;
        size_t close = open;
        for (; close < code.size(); ++close) {
            if (code[close] == '(') ++depth;
            if (code[close] == ')' && --depth == 0) break;
        }
        size_t body = skipSpace(code, close + 1);
        if (body >= code.size() || code[body] != '{') continue;
        size_t first = skipSpace(code, body + 1);
        size_t semicolon = code.find(';', first);
        const size_t length = semicolon == std::string::npos ? 40 : semicolon - first + 1;
        const std::string statement = code.substr(first, length);
        std::string compact;
        for (char c : statement) {
            if (!std::isspace(static_cast<unsigned char>(c))) compact += c;
        }
        const auto at = code.begin() + static_cast<std::ptrdiff_t>(i);
        const size_t line = 1 + static_cast<size_t>(std::count(code.begin(), at, '\n'));
        const bool hooked = compact == "PRF_ENTER(" + name + ");";
        found[name].push_back({path.string(), line, hooked, statement});
        i = body;
    }
}

std::map<std::string, std::vector<Definition>> scanSources() {
    const std::set<std::string> names = listedNames();
    std::map<std::string, std::vector<Definition>> found;
    const fs::path root(Q64_SOURCE_ROOT);
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string leaf = it->path().filename().string();
        if (it->is_directory()) {
            // Build trees, the repository's metadata and the tests hold no library code.
            if (leaf.rfind("build", 0) == 0 || leaf[0] == '.' || leaf == "tests") {
                it.disable_recursion_pending();
            }
            continue;
        }
        const std::string ext = it->path().extension().string();
        if (ext == ".cpp" || ext == ".cc" || ext == ".c" || ext == ".h") {
            scanFile(it->path(), names, found);
        }
    }
    return found;
}

TEST(HookCheck, EveryDefinitionStartsWithItsOwnHook) {
    const auto found = scanSources();
    ASSERT_FALSE(found.empty()) << "no definitions under " << Q64_SOURCE_ROOT;
    for (const auto& [name, definitions] : found) {
        for (const Definition& d : definitions) {
            EXPECT_TRUE(d.hooked) << d.file << ":" << d.line << ": " << name << " starts with \""
                                  << d.firstStatement << "\", not PRF_ENTER(" << name << ");";
        }
        EXPECT_EQ(definitions.size(), 1u) << name << " is defined more than once";
    }
}

TEST(HookCheck, EveryBuiltRoutineIsFoundInTheSources) {
    const auto found = scanSources();
    for (const std::string& name : listedNames()) {
        if (prftest::notBuiltYet().count(name)) {
            EXPECT_FALSE(found.count(name))
                << name << " is built now: give it a row in the call table";
        } else {
            EXPECT_TRUE(found.count(name))
                << name << " has a row but no definition was found";
        }
    }
}

// The scanner itself: a wrong hook, a missing hook, and the forms that are not
// definitions.
TEST(HookCheck, ScannerTellsDefinitionsFromCallsAndDeclarations) {
    const fs::path dir = fs::temp_directory_path() / "q64_hook_check";
    fs::create_directories(dir);
    const fs::path file = dir / "sample.cpp";
    {
        std::ofstream out(file);
        out << "uint64_t _0_neg(uint64_t x);\n"
               "extern \"C\" uint64_t _0_max(uint64_t a, uint64_t b) {\n"
               "  PRF_ENTER(_0_abs);\n  return a; }\n"
               "extern \"C\" int64_t _0_abs(int64_t x)\n{\n    return x; // PRF_ENTER(_0_abs);\n}\n"
               "extern \"C\" uint64_t _0_rup8(uint64_t x) {"
               " PRF_ENTER( _0_rup8 ) ; return x; }\n"
               "void f() { if (_0_neg(1)) { } const char* s = \"_0_rup(x) {\"; }\n";
    }
    std::map<std::string, std::vector<Definition>> found;
    scanFile(file, listedNames(), found);
    fs::remove_all(dir);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_FALSE(found["_0_max"][0].hooked);  // the hook of another routine
    EXPECT_EQ(found["_0_max"][0].line, 2u);
    EXPECT_FALSE(found["_0_abs"][0].hooked);  // no hook, one in a comment
    EXPECT_TRUE(found["_0_rup8"][0].hooked);
    EXPECT_EQ(found.count("_0_neg"), 0u);
    EXPECT_EQ(found.count("_0_rup"), 0u);
}

}  // namespace
