// Writes a language file: the hand-kept head (LanguageName and the two list sections) with the texts of
// the built-in catalogue added at the end of "VideoAPP_Convert", as the program's own write-back would
// leave them (trimmed, line breaks as "#13", CR LF line ends).
// This is a build-machine program: langfile <head> <output>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "EditorTexts.h"

namespace {

struct Entry {
    std::string Key;
    const char* Text;
    bool WrittenBack;
};

const Entry kCatalogue[] = {
#define LANG_TEXT(name, text) {#name, text, true},
#define LANG_TEXT_BLANK(name, text) {#name " ", text, true},
#define LANG_TEXT_READ_ONLY(name, text) {#name, text, false},
#define LANG_ENGINE_TEXT_BLANK(name, text) {#name " ", text, true},
#define LANG_EDITOR_TEXT(name) {#name, EditorBuiltIn::name, true},
#define LANG_EDITOR_TEXT_BLANK(name) {#name " ", EditorBuiltIn::name, true},
#include "LanguageCatalogue.inc"
};

std::string Trim(const std::string& s)
{
    size_t first = 0, last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
    return s.substr(first, last - first);
}

// One line per text: CR LF, a lone LF and a lone CR each become "#13".
std::string Encode(const std::string& text)
{
    const std::string t = Trim(text);
    std::string out;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' || t[i] == '\n') {
            out += "#13";
            if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
        } else {
            out += t[i];
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: langfile <head> <output>\n";
        return 2;
    }
    std::ifstream head(argv[1], std::ios::binary);
    if (!head) {
        std::cerr << "langfile: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::string out, section, line;
    auto addTexts = [&] {
        if (section != "VideoAPP_Convert") return;
        for (const Entry& e : kCatalogue)
            if (e.WrittenBack) out += e.Key + "=" + Encode(e.Text) + "\r\n";
    };
    while (std::getline(head, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string t = Trim(line);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            addTexts();
            section = Trim(t.substr(1, t.size() - 2));
        }
        out += line + "\r\n";
    }
    addTexts();
    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file << out;
    if (!file.flush()) {
        std::cerr << "langfile: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
