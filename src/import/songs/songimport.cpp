#include "import/songs/songimport.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"
#include "hymns/hymnentry.h"
#include "hymns/hymnfiles.h"
#include "hymns/hymnstore.h"
#include "import/ziparchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace lumora::import {

namespace {

bool isSongFileName(const QString& name) {
    static const QStringList exts{QStringLiteral("xml"),      QStringLiteral("txt"),    QStringLiteral("cho"),
                                  QStringLiteral("chordpro"), QStringLiteral("chopro"), QStringLiteral("crd"),
                                  QStringLiteral("pro")};
    const QString file = name.section(QLatin1Char('/'), -1);
    if (file.isEmpty() || file.startsWith(QLatin1Char('.'))) return false;
    if (name.startsWith(QLatin1String("__MACOSX/"))) return false;
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    return dot < 0 || exts.contains(file.mid(dot + 1).toLower());
}

// Names as people number songs: "9 - x.xml" before "10 - y.xml"; letters without regard to case.
bool naturalLess(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a.at(ei).isDigit())
                ++ei;
            while (ej < b.size() && b.at(ej).isDigit())
                ++ej;
            QStringView da = QStringView(a).mid(i, ei - i), db = QStringView(b).mid(j, ej - j);
            while (da.size() > 1 && da.front() == QLatin1Char('0'))
                da = da.mid(1);
            while (db.size() > 1 && db.front() == QLatin1Char('0'))
                db = db.mid(1);
            if (da.size() != db.size()) return da.size() < db.size();
            if (const int c = da.compare(db); c != 0) return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = a.at(i).toCaseFolded(), cb = b.at(j).toCaseFolded();
        if (ca != cb) return ca < cb;
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j)) return (a.size() - i) < (b.size() - j);
    return a < b;
}

bool isZip(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("zip"), Qt::CaseInsensitive) == 0;
}

void addZipMembers(const QString& path, bool keepAll, std::vector<SongInput>& out,
                   std::vector<ImportProblem>* problems) {
    const ZipArchive archive(path);
    if (!archive.isOpen()) {
        if (problems) problems->push_back({path, 0, archive.error()});
        return;
    }
    for (const QString& entry : archive.entries())
        if (keepAll || isSongFileName(entry)) out.push_back({path + QLatin1Char('/') + entry, path, entry});
}

QList<QStringList> stanzasOf(const QString& words) {
    QList<QStringList> stanzas;
    QStringList stanza;
    for (const QString& line : words.split(QLatin1Char('\n'))) {
        const QString clean = hymns::cleanHymnField(line);
        if (clean.isEmpty()) {
            if (!stanza.isEmpty()) stanzas << stanza;
            stanza.clear();
        } else {
            stanza << clean;
        }
    }
    if (!stanza.isEmpty()) stanzas << stanza;
    return stanzas;
}

} // namespace

QString ImportProblem::toText() const {
    return line > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(reason)
                    : QStringLiteral("%1: %2").arg(file, reason);
}

std::vector<SongInput> collectSongInputs(const QStringList& paths, std::vector<ImportProblem>* problems) {
    std::vector<SongInput> out;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList files;
            QDirIterator it(path, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
            std::sort(files.begin(), files.end(),
                      [](const QString& a, const QString& b) { return naturalLess(a, b); });
            for (const QString& file : std::as_const(files)) {
                const QString rel = QDir(path).relativeFilePath(file);
                if (rel.split(QLatin1Char('/')).constLast().startsWith(QLatin1Char('.'))) continue;
                if (isZip(file))
                    addZipMembers(file, false, out, problems);
                else if (isSongFileName(rel))
                    out.push_back({file, file, {}});
            }
        } else if (info.exists()) {
            if (isZip(path))
                addZipMembers(path, false, out, problems);
            else
                out.push_back({path, path, {}});
        } else if (problems) {
            problems->push_back({path, 0, QStringLiteral("no such file or folder")});
        }
    }
    return out;
}

std::optional<QByteArray> readSongInput(const SongInput& input, QString* whyNot) {
    if (!input.zipEntry.isEmpty()) {
        ZipArchive archive(input.path);
        std::optional<QByteArray> bytes;
        if (archive.isOpen()) bytes = archive.read(input.zipEntry, kMaxSongBytes);
        if (!bytes && whyNot) *whyNot = archive.error();
        return bytes;
    }
    const common::FileRead read = common::readFile(input.path, kMaxSongBytes);
    if (!read.bytes && whyNot)
        *whyNot = read.failure == common::ReadFailure::TooLarge
                      ? QStringLiteral("larger than %1 MiB: not a song").arg(kMaxSongBytes >> 20)
                      : common::readFailureText(read.failure);
    return read.bytes;
}

hymns::NewHymn hymnFromSong(const Song& song, const QString& book, const SongImportOptions& options) {
    hymns::NewHymn h;
    for (const Song::Songbook& b : song.songbooks)
        if (!b.entry.isEmpty() && b.name.compare(book, Qt::CaseInsensitive) == 0) {
            h.number = b.entry;
            break;
        }
    if (h.number.isEmpty())
        for (const Song::Songbook& b : song.songbooks)
            if (!b.entry.isEmpty()) {
                h.number = b.entry;
                break;
            }
    h.title = song.title;
    h.author = (song.wordsAuthors + song.translators).join(QStringLiteral(", "));
    h.composer = song.musicAuthors.join(QStringLiteral(", "));
    h.tonality = song.key;
    h.copyright = song.copyright;
    h.tune = song.tune;
    const QString theme = hymns::cleanHymnField(options.theme);
    const QString sub = hymns::cleanHymnField(options.subTheme);
    if (!theme.isEmpty()) {
        h.theme = theme;
    } else {
        h.theme = song.themes.value(0);
        if (sub.isEmpty()) h.subTheme = song.themes.value(1);
    }
    if (!sub.isEmpty()) h.subTheme = sub;
    h.stanzas = song.stanzas;
    return h;
}

std::optional<SongImport> SongImport::open(const QString& cantiques, const QString& book,
                                           const SongImportOptions& options, QString* whyNot) {
    auto writer = hymns::HymnBookWriter::open(cantiques, book, whyNot);
    if (!writer) return std::nullopt;
    return SongImport(std::move(*writer), options);
}

bool SongImport::add(const SongInput& input) {
    QString why;
    const std::optional<QByteArray> bytes = readSongInput(input, &why);
    if (!bytes) {
        m_problems.push_back({input.name, 0, why});
        return false;
    }
    const std::optional<SongFormat> format =
        detectSongFormat(input.zipEntry.isEmpty() ? input.path : input.zipEntry, *bytes);
    if (!format) {
        m_problems.push_back(
            {input.name, 0, QStringLiteral("not a song file (OpenLyrics, ChordPro, OpenSong or text)")});
        return false;
    }
    const SongRead read = readSong(*format, *bytes);
    if (!read.song) {
        m_problems.push_back({input.name, read.line, read.error});
        return false;
    }
    const auto added = m_writer.add(hymnFromSong(*read.song, m_writer.book(), m_options), &why);
    if (!added) {
        m_problems.push_back({input.name, 0, why});
        return false;
    }
    m_imported.push_back({input.name, *format, *added});
    return true;
}

bool SongImport::finish(QString* whyNot) {
    if (m_writer.commit(whyNot)) return true;
    m_imported.clear();
    return false;
}

void SongImport::abandon() {
    m_writer.rollback();
    m_imported.clear();
}

std::optional<Song> songFromEntry(const QString& cantiques, const QString& entry) {
    const QByteArray bytes = common::Utf8Encode(entry);
    const auto fields = common::cutFields<9>(bytes);
    if (!fields) return std::nullopt;
    const auto text = [&fields](int k) { return common::Utf8Decode((*fields)[static_cast<size_t>(k - 1)]); };
    Song song;
    const QString label = text(1);
    const QString number = hymns::HymnNumber(label);
    song.title =
        number.isEmpty() && !label.startsWith(QLatin1String(" - ")) ? label : label.mid(number.size() + 3);
    song.songbooks.append({text(9), number});
    if (!text(3).isEmpty()) song.wordsAuthors << text(3);
    if (!text(2).isEmpty()) song.musicAuthors << text(2);
    song.key = text(4);
    song.copyright = text(5);
    for (int k : {6, 7})
        if (!text(k).isEmpty()) song.themes << text(k);
    song.tune = text(8);
    const hymns::HymnFiles files = hymns::LoadHymnFiles(cantiques, entry);
    if (files.words == hymns::WordsKind::Text)
        song.stanzas = stanzasOf(hymns::readTextWords(files.wordsPath));
    else if (files.words == hymns::WordsKind::Rtf)
        song.stanzas = stanzasOf(hymns::rtfPlainText(files.wordsPath).value_or(QString()));
    return song;
}

ExportResult exportHymnBook(const QString& cantiques, const QString& book, const QString& folder,
                            const std::function<void(int, int)>& progress) {
    ExportResult out;
    const auto hira = hymns::hymnPath(cantiques, book, {QStringLiteral("Hira.txt")});
    const common::FileRead read = hira ? common::readFile(*hira) : common::FileRead{};
    if (!read.bytes) {
        out.problems.push_back({hira.value_or(book), 0, QStringLiteral("the hymn book cannot be read")});
        return out;
    }
    QStringList entries;
    common::LineSplitter lines(*read.bytes);
    QByteArray line;
    while (lines.next(line)) {
        if (entries.isEmpty() && common::startsWithBom(line)) line = line.mid(3);
        if (hymns::SplitHymnEntry(line)) entries << common::Utf8Decode(line);
    }
    if (!QDir().mkpath(folder)) {
        out.problems.push_back({folder, 0, QStringLiteral("the folder cannot be made")});
        return out;
    }
    int done = 0;
    for (const QString& entry : std::as_const(entries)) {
        const std::optional<Song> song = songFromEntry(cantiques, entry);
        const QString label = entry.section(QLatin1Char('\t'), 0, 0);
        QString base = hymns::fileSafeTitle(label);
        if (base.isEmpty()) base = QStringLiteral("hymn");
        const QByteArray xml = writeOpenLyrics(*song);
        QString why;
        bool written = false;
        for (int n = 1; n < 1000 && !written; ++n) {
            const QString path = QDir(folder).filePath(
                n == 1 ? base + QStringLiteral(".xml") : QStringLiteral("%1 (%2).xml").arg(base).arg(n));
            if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) continue;
            written = common::createFileExclusive(path, xml, &why);
            if (written)
                out.written << path;
            else if (why != QLatin1String("already exists"))
                break;
        }
        if (!written) out.problems.push_back({label, 0, QStringLiteral("not written: ") + why});
        if (progress) progress(++done, static_cast<int>(entries.size()));
    }
    return out;
}

} // namespace lumora::import
