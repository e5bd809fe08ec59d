#include "bible/following.h"

#include <cmath>

namespace lumora::bible {

double markSeconds(const QByteArray& entry) {
    const qsizetype tab = entry.indexOf('\t');
    QByteArray mark = tab < 0 ? QByteArray() : entry.mid(tab + 1).trimmed();
    mark.replace(',', '.');
    bool ok = false;
    const double seconds = mark.toDouble(&ok);
    return ok ? seconds : 0;
}

FollowResult FollowStep(FollowState& state, const FollowInput& in) {
    FollowResult out;
    const QByteArrayList& marks = *in.marks;
    const int count = static_cast<int>(marks.size());
    const double p = in.position;
    // The user moved the audio back: one mark back per step.
    if (p < state.LastPosition) {
        --state.MarkIndex;
        if (state.MarkIndex < 0) {
            state.MarkIndex = 0;
            return out;
        }
    }
    if (count > 0 && state.MarkIndex >= count && !in.endVerseIsLast) out.stopPlayer = true;
    if (!in.markSelected || state.MarkIndex < 0 || state.MarkIndex >= count) return out;

    const QByteArray& entry = marks.at(state.MarkIndex);
    const qsizetype tab = entry.indexOf('\t');
    const QString label = QString::fromUtf8(tab < 0 ? entry : entry.left(tab));
    const double current = markSeconds(entry);
    // The last verse stays selected to the end of the recording.
    const double next = state.MarkIndex + 1 < count ? markSeconds(marks.at(state.MarkIndex + 1)) : 1000.0;
    const int q = in.labelStarts->value(label, -1);
    if (!(p > current)) return out;
    if (!label.isEmpty() && q >= 0 && p < next) {
        out.caretToEnd = in.keepAtTop;
        if (!in.markMode) {
            out.select = std::make_pair(q, static_cast<int>(label.size()));
            out.label = label;
        }
    }
    state.LastPosition = static_cast<qint32>(std::lround(p));
    ++state.MarkIndex;
    out.pause = !in.markMode && state.MarkIndex < count;
    return out;
}

bool isMarked(const QByteArray& mark, int row) {
    const QByteArray m = mark.trimmed();
    if (m.isEmpty() || m == "0") return false;
    return row == 1 || markSeconds('\t' + m) > 0;
}

FollowedMarks followedMarks(const Passage& passage) {
    FollowedMarks out;
    const auto rowOf = [](const QByteArray& entry) {
        const qsizetype tab = entry.indexOf('\t');
        const QByteArray label = tab < 0 ? entry : entry.left(tab);
        return label.mid(label.lastIndexOf('.') + 1).toInt();
    };
    const bool endsEarly = passage.endsBeforeChapterEnd && passage.endRow > 0;
    QByteArray stop; // the entry of the verse after the passage
    for (const QByteArray& entry : passage.marks) {
        const qsizetype tab = entry.indexOf('\t');
        if (tab < 0 || !isMarked(entry.mid(tab + 1), rowOf(entry))) continue;
        if (endsEarly && rowOf(entry) == passage.endRow)
            stop = entry;
        else
            out.marks << entry;
    }
    // A passage without a marked verse of its own plays from the start to the end.
    if (out.marks.isEmpty() || !endsEarly) return out;
    if (stop.isEmpty()) {
        const auto& rows = passage.VersePositions;
        for (size_t row = static_cast<size_t>(passage.endRow) + 1; row < rows.size(); ++row) {
            if (!isMarked(rows[row], static_cast<int>(row))) continue;
            stop = '\t' + rows[row].trimmed();
            break;
        }
    }
    if (!stop.isEmpty()) {
        out.marks << stop;
        out.stopsBeforeEnd = true;
    }
    return out;
}

} // namespace lumora::bible
