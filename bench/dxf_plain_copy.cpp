// The plain anchor of the drawing-file figures: reads an ASCII DXF file as code and value lines, parses every
// code and every real with std::from_chars, and writes them back with std::to_chars through one buffer. What
// any DXF reader and writer must at least do; dxf_open_save.py times it beside zhost and ezdxf.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace {

bool isRealCode(int code) {
    return (code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239) ||
           (code >= 1010 && code <= 1059);
}

std::string_view nextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: dxf_plain_copy IN.dxf OUT.dxf\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        std::fprintf(stderr, "dxf_plain_copy: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string out;
    out.reserve(file.size() + file.size() / 8);
    char number[64];
    std::string_view text = file;
    long groups = 0;
    while (!text.empty()) {
        const std::string_view codeLine = trimmed(nextLine(text));
        const std::string_view value = nextLine(text);
        int code = 0;
        if (std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code).ec != std::errc()) {
            std::fprintf(stderr, "dxf_plain_copy: bad group code after %ld groups\n", groups);
            return 1;
        }
        out.append(number, std::to_chars(number, number + sizeof number, code).ptr);
        out += '\n';
        const std::string_view v = trimmed(value);
        double real = 0;
        if (isRealCode(code) && std::from_chars(v.data(), v.data() + v.size(), real).ec == std::errc())
            out.append(number, std::to_chars(number, number + sizeof number, real).ptr);
        else
            out.append(value);
        out += '\n';
        ++groups;
    }
    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "dxf_plain_copy: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
