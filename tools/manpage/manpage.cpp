// Writes the game's manual page from the README, so that the two cannot say
// different things. Runs on the build machine only.
//
//   BrickVoyagerManPage README OUTPUT NAME VERSION "TITLE=Heading"...
//
// The README's opening paragraphs become DESCRIPTION (their first sentence
// the NAME line); each "## Heading" section, its "###" subsections included,
// becomes the manual section TITLE, in the order given. Only the Markdown the
// README uses is understood: paragraphs, pipe tables, "- " lists, fenced code
// and `code` spans. A heading the README lacks is an error, so renaming a
// section stops the build instead of quietly emptying the page.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "BrickVoyagerManPage: %s\n", message.c_str());
    return 1;
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Text for roff: backslashes and the characters groff would read as requests
// or as the wrong glyph are escaped; `code` turns bold, and its hyphens are
// minus signs so that options can be copied from the page.
std::string inlineText(const std::string& text)
{
    std::string out;
    bool code = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '`') {
            code = !code;
            out += code ? "\\fB" : "\\fR";
        } else if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && code) {
            out += "\\-";
        } else if (text.compare(i, 2, "\xc3\x97") == 0) {
            out += "\\(mu";
            ++i;
        } else if (text.compare(i, 3, "\xe2\x80\x94") == 0) {
            out += "\\(em";
            i += 2;
        } else if (text.compare(i, 3, "\xe2\x80\x93") == 0) {
            out += "\\(en";
            i += 2;
        } else {
            out += c;
        }
    }
    if (code)
        out += "\\fR";
    return out;
}

// A line of roff text; one starting with a dot or a quote would be a request.
std::string textLine(const std::string& text)
{
    const std::string line = inlineText(text);
    return (startsWith(line, ".") || startsWith(line, "'")) ? "\\&" + line : line;
}

std::vector<std::string> cells(const std::string& row)
{
    std::vector<std::string> result;
    std::string body = trim(row);
    if (startsWith(body, "|"))
        body.erase(0, 1);
    if (!body.empty() && body.back() == '|')
        body.pop_back();
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = body.find('|', start);
        result.push_back(trim(body.substr(start, bar - start)));
        if (bar == std::string::npos)
            return result;
        start = bar + 1;
    }
}

bool isTableRow(const std::string& line) { return startsWith(trim(line), "|"); }

// Renders a run of README lines (no "##" heading among them) as roff.
class Renderer {
public:
    explicit Renderer(std::ostream& out) : out(out) {}

    void render(const std::vector<std::string>& lines)
    {
        for (std::size_t i = 0; i < lines.size();) {
            const std::string& line = lines[i];
            if (trim(line).empty()) {
                ++i;
            } else if (startsWith(line, "### ")) {
                out << ".SS " << inlineText(trim(line.substr(4))) << "\n";
                ++i;
            } else if (startsWith(line, "```")) {
                i = code(lines, i + 1);
            } else if (isTableRow(line)) {
                i = table(lines, i);
            } else if (startsWith(line, "- ")) {
                i = list(lines, i);
            } else {
                i = paragraph(lines, i);
            }
        }
    }

private:
    std::size_t code(const std::vector<std::string>& lines, std::size_t i)
    {
        out << ".PP\n.RS 4\n.nf\n";
        for (; i < lines.size() && !startsWith(lines[i], "```"); ++i) {
            std::string line;
            for (const char c : lines[i])
                line += c == '\\' ? std::string("\\e") : c == '-' ? std::string("\\-") : std::string(1, c);
            out << (startsWith(line, ".") || startsWith(line, "'") ? "\\&" : "") << line << "\n";
        }
        out << ".fi\n.RE\n";
        return i + 1;
    }

    // Each row becomes a tagged paragraph: the first cell the tag, the
    // second the text, any further cell appended with its column's heading.
    std::size_t table(const std::vector<std::string>& lines, std::size_t i)
    {
        const std::vector<std::string> headings = cells(lines[i]);
        ++i;
        if (i < lines.size() && trim(lines[i]).find_first_not_of("|-: ") == std::string::npos)
            ++i;
        for (; i < lines.size() && isTableRow(lines[i]); ++i) {
            const std::vector<std::string> row = cells(lines[i]);
            out << ".TP\n" << textLine(row[0]) << "\n";
            std::string text = row.size() > 1 ? row[1] : "";
            for (std::size_t column = 2; column < row.size(); ++column) {
                if (row[column].empty())
                    continue;
                const std::string heading = column < headings.size() ? headings[column] : "";
                text += " (" + (heading.empty() ? "" : heading + ": ") + row[column] + ")";
            }
            out << textLine(text) << "\n";
        }
        return i;
    }

    std::size_t list(const std::vector<std::string>& lines, std::size_t i)
    {
        while (i < lines.size() && startsWith(lines[i], "- ")) {
            out << ".IP \\(bu 2\n" << textLine(lines[i].substr(2)) << "\n";
            for (++i; i < lines.size() && startsWith(lines[i], "  ") && !trim(lines[i]).empty(); ++i)
                out << textLine(trim(lines[i])) << "\n";
        }
        return i;
    }

    std::size_t paragraph(const std::vector<std::string>& lines, std::size_t i)
    {
        out << ".PP\n";
        for (; i < lines.size() && !trim(lines[i]).empty() && !startsWith(lines[i], "```")
               && !isTableRow(lines[i]) && !startsWith(lines[i], "### ");
             ++i)
            out << textLine(trim(lines[i])) << "\n";
        return i;
    }

    std::ostream& out;
};

struct Section {
    std::string heading;
    std::vector<std::string> lines;
};

// The README split at its "#" and "##" headings; the text before the first
// "##" is the section with an empty heading.
std::vector<Section> sections(std::istream& in)
{
    std::vector<Section> result(1);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (startsWith(line, "## "))
            result.push_back({trim(line.substr(3)), {}});
        else if (!startsWith(line, "# "))
            result.back().lines.push_back(line);
    }
    return result;
}

std::string upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

// The first sentence of the opening paragraph, as the NAME line wants it:
// no capital, no full stop.
std::string summary(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        if (trim(line).empty() && !text.empty())
            break;
        text += (text.empty() ? "" : " ") + trim(line);
    }
    text = text.substr(0, text.find(". "));
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' && !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z'))
        text[0] = char(text[0] - 'A' + 'a');
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5)
        return fail("usage: BrickVoyagerManPage README OUTPUT NAME VERSION \"TITLE=Heading\"...");
    const std::string name = argv[3];
    const std::string version = argv[4];

    std::ifstream readme(argv[1]);
    if (!readme)
        return fail(std::string("cannot read ") + argv[1]);
    const std::vector<Section> parts = sections(readme);

    std::ostringstream page;
    page << ".TH " << upper(name) << " 6 \"\" \"" << inlineText(version) << "\" \"Games\"\n"
         << ".SH NAME\n" << name << " \\- " << inlineText(summary(parts[0].lines)) << "\n"
         << ".SH SYNOPSIS\n.B " << name << "\n.RI [ options ]\n"
         << ".SH DESCRIPTION\n";
    Renderer renderer(page);
    renderer.render(parts[0].lines);

    for (int arg = 5; arg < argc; ++arg) {
        const std::string pair = argv[arg];
        const std::size_t equals = pair.find('=');
        if (equals == std::string::npos)
            return fail("not TITLE=Heading: " + pair);
        const std::string heading = pair.substr(equals + 1);
        const Section* found = nullptr;
        for (const Section& part : parts)
            if (part.heading == heading)
                found = &part;
        if (!found)
            return fail(std::string(argv[1]) + " has no section \"## " + heading + "\"");
        page << ".SH " << upper(pair.substr(0, equals)) << "\n";
        renderer.render(found->lines);
    }

    // Written under another name and renamed, so that an interrupted build
    // never leaves half a page that looks up to date.
    const std::string temporary = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary);
        out << page.str();
        if (!out)
            return fail("cannot write " + temporary);
    }
    if (std::rename(temporary.c_str(), argv[2]) != 0)
        return fail(std::string("cannot write ") + argv[2]);
    return 0;
}
