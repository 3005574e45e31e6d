#include "cli/Report.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace qpx::cli {

namespace {

using OrderedJson = nlohmann::ordered_json;

// Texts come from the instrument: bytes that are not UTF-8 become U+FFFD and control characters
// are escaped, so the output is always valid JSON. The dump escapes every control character but
// DEL; in valid UTF-8 the byte 0x7F is never part of a longer character, so escaping it afterwards
// cannot split one.
std::string Dump(const OrderedJson& json, int indent) {
    const std::string dumped = json.dump(indent, ' ', false, OrderedJson::error_handler_t::replace);
    std::string out;
    out.reserve(dumped.size());
    for (const char c : dumped) {
        if (c == '\x7f') {
            out += "\\u007f";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string JsonString(std::string_view text) {
    return Dump(OrderedJson(std::string(text)), -1);
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
    OrderedJson json = OrderedJson::object();
    for (const auto& section : report.sections) {
        OrderedJson object = OrderedJson::object();
        for (const auto& field : section.fields) {
            object[field.key] = field.text;
        }
        for (const auto& table : section.tables) {
            OrderedJson rows = OrderedJson::array();
            for (const auto& row : table.rows) {
                OrderedJson cells = OrderedJson::object();
                for (std::size_t i = 0; i < row.size() && i < table.columnKeys.size(); ++i) {
                    cells[table.columnKeys[i]] = row[i];
                }
                rows.push_back(std::move(cells));
            }
            object[table.key] = std::move(rows);
        }
        json[section.key] = std::move(object);
    }
    return Dump(json, 2) + '\n';
}

} // namespace qpx::cli
