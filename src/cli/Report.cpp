#include "cli/Report.h"

#include "model/TextFormat.h"

#include <algorithm>

namespace qpx::cli {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += model::FormatText("\\u%04x", static_cast<unsigned>(byte));
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string FormatReportText(const Report& report) {
    std::string out;
    for (const auto& section : report.sections) {
        if (!out.empty()) {
            out += '\n';
        }
        out += section.title + '\n';
        for (const auto& field : section.fields) {
            out += "  ";
            if (!field.label.empty()) {
                out += field.label;
                if (!field.label.ends_with(' ')) {
                    out += ' ';
                }
            }
            out += field.text + '\n';
        }
        for (const auto& table : section.tables) {
            // Columns as wide as their widest text, so the listing reads as the dialog's list.
            std::vector<std::size_t> widths;
            for (const auto& title : table.columnTitles) {
                widths.push_back(title.size());
            }
            for (const auto& row : table.rows) {
                for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
                    widths[i] = std::max(widths[i], row[i].size());
                }
            }
            const auto line = [&](const std::vector<std::string>& cells) {
                std::string text = "  ";
                for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
                    std::string cell = cells[i];
                    if (i + 1 < cells.size()) {
                        cell.resize(widths[i] + 2, ' ');
                    }
                    text += cell;
                }
                return text + '\n';
            };
            out += line(table.columnTitles);
            for (const auto& row : table.rows) {
                out += line(row);
            }
        }
    }
    return out;
}

std::string FormatReportJson(const Report& report) {
    std::string out = "{";
    bool firstSection = true;
    for (const auto& section : report.sections) {
        out += firstSection ? "\n  " : ",\n  ";
        firstSection = false;
        out += JsonString(section.key) + ": {";
        bool first = true;
        for (const auto& field : section.fields) {
            out += first ? "\n    " : ",\n    ";
            first = false;
            out += JsonString(field.key) + ": " + JsonString(field.text);
        }
        for (const auto& table : section.tables) {
            out += first ? "\n    " : ",\n    ";
            first = false;
            out += JsonString(table.key) + ": [";
            bool firstRow = true;
            for (const auto& row : table.rows) {
                out += firstRow ? "\n      {" : ",\n      {";
                firstRow = false;
                for (std::size_t i = 0; i < row.size() && i < table.columnKeys.size(); ++i) {
                    out += (i == 0 ? "" : ", ") + JsonString(table.columnKeys[i]) + ": " +
                           JsonString(row[i]);
                }
                out += "}";
            }
            out += firstRow ? "]" : "\n    ]";
        }
        out += first ? "}" : "\n  }";
    }
    out += firstSection ? "}\n" : "\n}\n";
    return out;
}

} // namespace qpx::cli
