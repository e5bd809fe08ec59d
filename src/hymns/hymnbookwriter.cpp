#include "hymns/hymnbookwriter.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"
#include "hymns/hymnentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace lumora::hymns {

namespace {

const QString kWordsFolder = QStringLiteral("parole");
const QString kEntries = QStringLiteral("Hira.txt");
constexpr qsizetype kTitleMax = 100;

bool isRefusedInFileName(QChar c) {
    static const QString refused = QStringLiteral("<>:\"/\\|?*");
    return c.unicode() < 0x20 || refused.contains(c);
}

QString folded(const QString& s) {
    return s.toCaseFolded();
}

QByteArray wordsBytes(const QList<QStringList>& stanzas) {
    QStringList blocks;
    for (const QStringList& stanza : stanzas) {
        QStringList lines;
        for (const QString& line : stanza) {
            const QString clean = cleanHymnField(line);
            if (!clean.isEmpty()) lines << clean;
        }
        if (!lines.isEmpty()) blocks << lines.join(QStringLiteral("\r\n"));
    }
    if (blocks.isEmpty()) return {};
    return common::kBom + common::Utf8Encode(blocks.join(QStringLiteral("\r\n\r\n"))) + "\r\n";
}

} // namespace

QString cleanHymnField(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool space = false;
    for (const QChar c : text.normalized(QString::NormalizationForm_C)) {
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            space = !out.isEmpty();
            continue;
        }
        if (space) out += QLatin1Char(' ');
        space = false;
        out += c;
    }
    return out;
}

QString fileSafeTitle(const QString& title) {
    QString out;
    for (const QChar c : title) {
        if (c == QLatin1Char('"'))
            out += QLatin1Char('\'');
        else if (isRefusedInFileName(c))
            out += QLatin1Char(' ');
        else
            out += c;
    }
    out = cleanHymnField(out);
    if (out.size() > kTitleMax) {
        out.truncate(kTitleMax);
        // Never end between the two halves of a surrogate pair.
        if (out.back().isHighSurrogate()) out.chop(1);
    }
    while (!out.isEmpty() && (out.back() == QLatin1Char('.') || out.back().isSpace()))
        out.chop(1);
    return out;
}

QString fileSafeNumber(const QString& number) {
    QString out;
    for (const QChar c : number)
        if ((c.isLetterOrNumber() && c.unicode() < 0x250) || c == QLatin1Char('-') || c == QLatin1Char('_') ||
            c == QLatin1Char('.'))
            out += c;
    while (!out.isEmpty() && (out.back() == QLatin1Char('.') || out.back() == QLatin1Char('-')))
        out.chop(1);
    return out.left(16);
}

std::optional<QString> hymnBookNameProblem(const QString& book) {
    if (book.trimmed().isEmpty()) return QStringLiteral("the hymn book has no name");
    if (book != book.trimmed()) return QStringLiteral("a hymn book name cannot begin or end with a blank");
    if (book.contains(QLatin1Char('.'))) return QStringLiteral("a hymn book name cannot hold a \".\"");
    for (const QChar c : book)
        if (isRefusedInFileName(c) || c.category() == QChar::Other_Control)
            return QStringLiteral("a hymn book name cannot hold < > : \" / \\ | ? * or control characters");
    if (book.size() > 100) return QStringLiteral("a hymn book name is at most 100 characters");
    if (book.compare(QStringLiteral("Favori"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\"Favori\" holds the playlists, not a hymn book");
    static const QStringList reserved{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                      QStringLiteral("NUL")};
    const QString upper = book.toUpper();
    if (reserved.contains(upper) ||
        (upper.size() == 4 &&
         (upper.startsWith(QLatin1String("COM")) || upper.startsWith(QLatin1String("LPT"))) &&
         upper.at(3).isDigit()))
        return QStringLiteral("\"%1\" is a device name on Windows").arg(book);
    return std::nullopt;
}

std::optional<HymnBookWriter> HymnBookWriter::open(const QString& cantiques, const QString& book,
                                                   QString* whyNot) {
    auto refuse = [whyNot](const QString& why) {
        if (whyNot) *whyNot = why;
        return std::nullopt;
    };
    if (const auto problem = hymnBookNameProblem(book)) return refuse(*problem);
    HymnBookWriter w;
    w.m_folder = common::findPath(cantiques, {book});
    w.m_book = QFileInfo(w.m_folder).fileName();
    if (QFileInfo(w.m_folder).exists() && !QFileInfo(w.m_folder).isDir())
        return refuse(QStringLiteral("%1 is not a folder").arg(w.m_folder));
    const QString hira = common::findPath(w.m_folder, {kEntries});
    if (QFileInfo(hira).exists() || QFileInfo(hira).isSymLink()) {
        const common::FileRead read = common::readFile(hira);
        if (!read.bytes)
            return refuse(
                QStringLiteral("%1 cannot be read: %2").arg(hira, common::readFailureText(read.failure)));
        w.m_oldHira = *read.bytes;
        w.m_hadHira = true;
    }
    common::LineSplitter lines(w.m_oldHira);
    QByteArray line;
    bool first = true;
    while (lines.next(line)) {
        if (first && common::startsWithBom(line)) line = line.mid(3);
        first = false;
        const qsizetype tab = line.indexOf(common::kTab);
        if (tab < 0) continue;
        const QString label = common::Utf8Decode(line.left(tab));
        const QString number = HymnNumber(label);
        w.m_labels.insert(folded(label));
        if (!number.isEmpty()) w.m_numbers.insert(folded(number));
        if (const auto n = common::leadingNumber(number)) w.m_highest = std::max(w.m_highest, *n);
    }
    const QString words = common::findPath(w.m_folder, {kWordsFolder});
    for (const QString& name : QDir(words).entryList(QDir::Files | QDir::System | QDir::Hidden))
        w.m_labels.insert(folded(name));
    return w;
}

bool HymnBookWriter::isTaken(const QString& number, const QString& label) const {
    const auto has = [this](const QString& s) { return m_labels.count(folded(s)) > 0; };
    if (m_numbers.count(folded(number)) || has(label)) return true;
    // A words file of that number or label would be shown for the new hymn.
    for (const char* ext : {".rtf", ".txt"})
        if (has(number + QLatin1String(ext)) || has(label + QLatin1String(ext))) return true;
    return false;
}

std::optional<AddedHymn> HymnBookWriter::add(const NewHymn& hymn, QString* whyNot) {
    AddedHymn out;
    const QString cleanTitle = cleanHymnField(hymn.title);
    const QString title = fileSafeTitle(cleanTitle);
    if (title.isEmpty()) {
        if (whyNot) *whyNot = QStringLiteral("the song has no title");
        return std::nullopt;
    }
    if (title != cleanTitle)
        out.changes
            << QStringLiteral("title \"%1\" cleaned to \"%2\" for a file name").arg(cleanTitle, title);

    const QString wanted = cleanHymnField(hymn.number);
    QString number = fileSafeNumber(wanted);
    if (number != wanted && !number.isEmpty())
        out.changes << QStringLiteral("number \"%1\" cleaned to \"%2\"").arg(wanted, number);
    const auto labelOf = [&title](const QString& n) { return n + QStringLiteral(" - ") + title; };
    if (number.isEmpty() || isTaken(number, labelOf(number))) {
        const QString taken = number;
        do {
            number = QString::number(++m_highest);
        } while (isTaken(number, labelOf(number)));
        if (!taken.isEmpty())
            out.changes << QStringLiteral("number %1 is taken: numbered %2").arg(taken, number);
    }
    out.label = labelOf(number);

    const QByteArray words = wordsBytes(hymn.stanzas);
    if (!words.isEmpty()) {
        const QString folder = common::findPath(m_folder, {kWordsFolder});
        for (const QString& f : {m_folder, folder})
            if (!QFileInfo::exists(f) && QDir().mkdir(f)) m_madeFolders.prepend(f);
        if (!QFileInfo(folder).isDir()) {
            if (whyNot) *whyNot = QStringLiteral("%1 cannot be made").arg(folder);
            return std::nullopt;
        }
        const QString path = folder + QLatin1Char('/') + out.label + QStringLiteral(".txt");
        QString why;
        if (!common::createFileExclusive(path, words, &why, common::FolderSync::Later)) {
            if (whyNot) *whyNot = QStringLiteral("%1: not written: %2").arg(path, why);
            return std::nullopt;
        }
        m_written << path;
        m_labels.insert(folded(out.label + QStringLiteral(".txt")));
    }

    const auto field = [](const QString& s, const QString& fallback = QString()) {
        const QString clean = cleanHymnField(s);
        return clean.isEmpty() ? fallback : clean;
    };
    out.entry = QStringList{out.label,
                            field(hymn.composer),
                            field(hymn.author),
                            field(hymn.tonality),
                            field(hymn.copyright),
                            field(hymn.theme, kImportedTheme),
                            field(hymn.subTheme, kImportedSubTheme),
                            field(hymn.tune),
                            m_book}
                    .join(QLatin1Char('\t'));
    m_entries << out.entry;
    m_numbers.insert(folded(number));
    m_labels.insert(folded(out.label));
    if (const auto n = common::leadingNumber(number)) m_highest = std::max(m_highest, *n);
    return out;
}

bool HymnBookWriter::commit(QString* whyNot) {
    if (m_entries.isEmpty()) return true;
    const QString hira = common::findPath(m_folder, {kEntries});
    const common::FileRead now = common::readFile(hira);
    if (now.bytes.has_value() != m_hadHira || now.bytes.value_or(QByteArray()) != m_oldHira) {
        if (whyNot) *whyNot = QStringLiteral("%1 was changed meanwhile").arg(hira);
        rollback();
        return false;
    }
    QByteArray bytes = m_hadHira ? m_oldHira : QByteArray(common::kBom);
    if (m_hadHira && !m_oldHira.isEmpty() && !m_oldHira.endsWith('\n') && !m_oldHira.endsWith('\r'))
        bytes += "\r\n";
    for (const QString& entry : std::as_const(m_entries))
        bytes += common::Utf8Encode(entry) + "\r\n";
    // The words files' names reach the disk before the entries that name them.
    if (!m_written.isEmpty()) common::syncFolder(QFileInfo(m_written.constFirst()).path());
    QString why;
    if (!QDir().mkpath(m_folder) || !common::writeFileAtomic(hira, bytes, &why)) {
        if (whyNot) *whyNot = QStringLiteral("%1: not written: %2").arg(hira, why);
        rollback();
        return false;
    }
    m_entries.clear();
    m_written.clear();
    m_madeFolders.clear();
    m_oldHira = bytes;
    m_hadHira = true;
    return true;
}

void HymnBookWriter::rollback() {
    for (const QString& path : std::as_const(m_written))
        QFile::remove(path);
    m_written.clear();
    m_entries.clear();
    // Folders this import made, and left empty, go too.
    for (const QString& f : std::as_const(m_madeFolders))
        QDir().rmdir(f);
    m_madeFolders.clear();
}

} // namespace lumora::hymns
