#include "common/rtf/richtext.h"

namespace lumora::common::rtf {

Document normalized(Document doc) {
    for (Paragraph& para : doc.paragraphs) {
        std::vector<Run> joined;
        joined.reserve(para.runs.size());
        for (Run& run : para.runs) {
            if (run.text.isEmpty()) continue;
            if (!joined.empty() && joined.back().format == run.format)
                joined.back().text += run.text;
            else
                joined.push_back(std::move(run));
        }
        para.runs = std::move(joined);
    }
    return doc;
}

QString plainText(const Document& doc) {
    QString out;
    bool first = true;
    for (const Paragraph& para : doc.paragraphs) {
        if (!first) out += QLatin1Char('\n');
        first = false;
        for (const Run& run : para.runs)
            out += run.text;
    }
    out.replace(kLineBreak, QLatin1Char('\n'));
    return out;
}

} // namespace lumora::common::rtf
