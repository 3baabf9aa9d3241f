#include "support/maildraft.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    return first == std::string_view::npos ? "" : std::string(text.substr(first, last - first + 1));
}

// The message's lines without their ends.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        pos = end + 1;
    }
    return lines;
}

struct TPart {
    std::vector<std::pair<std::string, std::string>> headers; // lowered name, unfolded value
    std::vector<std::string_view> body;

    std::string header(const char* name) const {
        for (const auto& [key, value] : headers) {
            if (key == name) {
                return value;
            }
        }
        return "";
    }
};

TPart partOf(const std::vector<std::string_view>& lines, std::size_t from, std::size_t to) {
    TPart part;
    std::size_t i = from;
    for (; i < to && !lines[i].empty(); ++i) {
        const std::string_view line = lines[i];
        if ((line[0] == ' ' || line[0] == '\t') && !part.headers.empty()) {
            std::string& value = part.headers.back().second;
            value += ' ';
            value += trimmed(line);
        } else if (const auto colon = line.find(':'); colon != std::string_view::npos) {
            part.headers.emplace_back(lowered(std::string(line.substr(0, colon))),
                                      trimmed(line.substr(colon + 1)));
        }
    }
    part.body.assign(lines.begin() + static_cast<std::ptrdiff_t>(std::min(i + 1, to)),
                     lines.begin() + static_cast<std::ptrdiff_t>(to));
    return part;
}

// The boundary parameter of a multipart type, quoted or not; empty for other types.
std::string boundaryOf(const std::string& contentType) {
    const std::string type = lowered(contentType);
    const auto at = type.find("boundary=");
    if (!type.starts_with("multipart/") || at == std::string::npos) {
        return "";
    }
    std::string value = contentType.substr(at + 9);
    if (value.starts_with('"')) {
        return value.substr(1, value.find('"', 1) - 1);
    }
    return value.substr(0, value.find_first_of("; \t"));
}

std::string joined(std::vector<std::string_view> lines) {
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    std::string text;
    for (std::string_view line : lines) {
        text.append(line).push_back('\n');
    }
    return text;
}

} // namespace

TMailDraft mailDraftOf(std::string_view message) {
    const std::vector<std::string_view> lines = linesOf(message);
    const TPart whole = partOf(lines, 0, lines.size());
    TMailDraft draft{whole.header("to"), whole.header("subject"), "", ""};
    const std::string boundary = boundaryOf(whole.header("content-type"));
    if (boundary.empty()) {
        draft.body = joined(whole.body);
        return draft;
    }
    // The parts lie between the boundary lines; the first plain text is the body.
    std::string start = "--";
    start += boundary;
    std::vector<std::size_t> marks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].starts_with(start)) {
            marks.push_back(i);
        }
    }
    const std::size_t firstLine = lines.size() - whole.body.size();
    for (std::size_t m = 0; m + 1 < marks.size(); ++m) {
        if (marks[m] < firstLine) {
            continue;
        }
        const TPart part = partOf(lines, marks[m] + 1, marks[m + 1]);
        const std::string type = lowered(part.header("content-type"));
        if ((type.empty() || type.starts_with("text/plain")) &&
            !lowered(part.header("content-disposition")).starts_with("attachment")) {
            draft.body = joined(part.body);
            break;
        }
    }
    return draft;
}
