// Build-time tool: turns the UTF-8 text catalogue console/texts.def into a
// header of CP932 byte arrays (glibc iconv, code page "CP932").
//
//   textgen <texts.def> <header>
//
// Catalogue lines: blank, a comment starting with //, or one entry
//   Q64_TEXT(identifier, "text")
// with the escapes \n, \" and \\ inside the quotes. Every entry becomes
//   // "text"
//   inline constexpr char identifier[] = "<CP932 bytes as \x escapes>";
// in namespace text, and one row of text::catalogue, which the tests compare
// with an independent encoder.
#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
    std::string name;
    std::string quoted;  // the text as written between the quotes
    std::string utf8;    // escapes resolved
    std::string cp932;
};

[[noreturn]] void fail(const std::string& where, const std::string& why) {
    std::cerr << where << ": " << why << '\n';
    std::exit(1);
}

bool isIdentifier(const std::string& s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
    return true;
}

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Parses one entry line; returns false for blank and comment lines.
bool parseLine(const std::string& raw, const std::string& where, Entry& out) {
    std::string line = trim(raw);
    if (line.empty() || line.rfind("//", 0) == 0) return false;
    const std::string head = "Q64_TEXT(";
    if (line.rfind(head, 0) != 0 || line.back() != ')') fail(where, "expected Q64_TEXT(name, \"text\")");
    size_t comma = line.find(',');
    if (comma == std::string::npos) fail(where, "missing comma");
    out.name = trim(line.substr(head.size(), comma - head.size()));
    if (!isIdentifier(out.name)) fail(where, "bad identifier '" + out.name + "'");
    std::string rest = trim(line.substr(comma + 1, line.size() - comma - 2));
    if (rest.size() < 2 || rest.front() != '"' || rest.back() != '"') fail(where, "text must be one quoted string");
    out.quoted = rest.substr(1, rest.size() - 2);
    out.utf8.clear();
    for (size_t i = 0; i < out.quoted.size(); ++i) {
        char c = out.quoted[i];
        if (c == '"') fail(where, "unescaped quote inside the text");
        if (c != '\\') {
            out.utf8 += c;
            continue;
        }
        if (++i == out.quoted.size()) fail(where, "lone backslash at the end");
        switch (out.quoted[i]) {
            case 'n': out.utf8 += '\n'; break;
            case '"': out.utf8 += '"'; break;
            case '\\': out.utf8 += '\\'; break;
            default: fail(where, std::string("unknown escape \\") + out.quoted[i]);
        }
    }
    return true;
}

std::string toCp932(const std::string& utf8, const std::string& where) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) fail(where, "iconv cannot convert UTF-8 to CP932");
    std::vector<char> in(utf8.begin(), utf8.end());
    std::vector<char> out(utf8.size() * 2 + 8);
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    int err = errno;
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || inLeft != 0)
        fail(where, "not representable in CP932 (errno " + std::to_string(err) + ")");
    if (r != 0) fail(where, "iconv replaced characters that CP932 lacks");
    return std::string(out.data(), outPtr);
}

std::string hexLiteral(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string s = "\"";
    for (unsigned char b : bytes) {
        s += "\\x";
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) fail("textgen", "usage: textgen <texts.def> <header>");
    std::ifstream def(argv[1]);
    if (!def) fail(argv[1], "cannot open");
    std::vector<Entry> entries;
    std::set<std::string> names;
    std::string raw;
    for (int lineNo = 1; std::getline(def, raw); ++lineNo) {
        std::string where = std::string(argv[1]) + ":" + std::to_string(lineNo);
        Entry e;
        if (!parseLine(raw, where, e)) continue;
        if (!names.insert(e.name).second) fail(where, "duplicate identifier " + e.name);
        e.cp932 = toCp932(e.utf8, where);
        entries.push_back(e);
    }

    std::ostringstream h;
    h << "// Generated from console/texts.def by console/tools/textgen.cpp: do not edit.\n"
         "// Each text is its CP932 bytes; the comment shows it as written in the catalogue.\n"
         "#pragma once\n\n#include <cstdint>\n\nnamespace text {\n\n";
    for (const Entry& e : entries)
        h << "// \"" << e.quoted << "\"\ninline constexpr char " << e.name << "[] = " << hexLiteral(e.cp932)
          << ";\n";
    h << "\nstruct CatalogueEntry {\n    const char* name;\n    const char* utf8;\n"
         "    const char* cp932;\n    uint64_t cp932Bytes;\n};\n\n"
         "inline constexpr CatalogueEntry catalogue[] = {\n";
    for (const Entry& e : entries)
        h << "    {\"" << e.name << "\", " << hexLiteral(e.utf8) << ", " << e.name << ", sizeof " << e.name
          << " - 1},\n";
    h << "};\n\n}  // namespace text\n";

    std::ofstream out(argv[2], std::ios::binary);
    out << h.str();
    if (!out.flush()) fail(argv[2], "cannot write");
    return 0;
}
