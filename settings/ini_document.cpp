#include "settings/ini_document.h"

namespace ornet5 {

TIniDocument ReadIniDocument(std::string_view content) {
    TIniDocument document;
    std::size_t number = 0;
    for (std::size_t begin = 0; begin < content.size();) {
        const TIniLineSpan span = IniLineAt(content, begin);
        begin = span.end;
        ++number;
        const TIniLine line =
            ClassifyIniLine(content.substr(span.begin, span.textEnd - span.begin));
        switch (line.kind) {
            case TIniLineKind::Blank:
            case TIniLineKind::Comment:
                break;
            case TIniLineKind::Section:
                document.sections.push_back(
                    {number, std::string(line.name), line.closed, std::string(line.value), {}});
                break;
            case TIniLineKind::Entry:
            case TIniLineKind::KeyWithoutValue: {
                auto& keys = document.sections.empty() ? document.keysOutsideSections
                                                       : document.sections.back().keys;
                std::optional<std::string> value;
                if (line.kind == TIniLineKind::Entry) {
                    value.emplace(line.value);
                }
                keys.push_back({number, std::string(line.name), std::move(value)});
                break;
            }
        }
    }
    return document;
}

}  // namespace ornet5
