#include "import/demosamples.h"

#include "import/audio.h"
#include "import/rtfwords.h"

#include "common/atomicfile.h"
#include "common/lines.h"
#include "common/paths.h"
#include "common/text.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <vector>

namespace lumora::import {

namespace {

enum class Words { Txt, Rtf };
enum class Music { None, Mid, Wav, Mp3 };

struct SampleHymn {
    int number;
    QString title;
    QString composer, author, tonality, theme, subTheme, tuneName;
    QStringList lines;
    Words words;
    bool wordsByLabel; // file named after the label, else after the number
    Music music;
    Tune tune;
    bool slides = false;
};

struct SampleBook {
    QString name;
    std::vector<SampleHymn> hymns;
};

// Note numbers: C4 = 60.
Tune tuneA() {
    return {84, 19, {{67, 2}, {67, 2}, {69, 2}, {71, 2}, {72, 4}, {71, 2}, {69, 2}, {67, 4},
                     {64, 2}, {65, 2}, {67, 2}, {69, 2}, {67, 6}, {0, 2},  {67, 2}, {72, 2},
                     {71, 2}, {69, 2}, {67, 2}, {65, 2}, {64, 2}, {62, 2}, {60, 8}}};
}
Tune tuneB() {
    return {96, 0, {{62, 2}, {66, 2}, {69, 4}, {66, 2}, {67, 2}, {69, 2}, {71, 2},
                    {69, 4}, {66, 2}, {64, 2}, {62, 6}, {0, 2},  {69, 2}, {71, 2},
                    {74, 4}, {71, 2}, {69, 2}, {66, 2}, {64, 2}, {62, 8}}};
}
Tune tuneC() {
    return {72,
            19,
            {{60, 3},
             {62, 1},
             {64, 2},
             {65, 2},
             {67, 4},
             {65, 2},
             {64, 2},
             {62, 4},
             {60, 2},
             {62, 2},
             {64, 4},
             {62, 2},
             {60, 6}}};
}
Tune tuneD() {
    return {100,
            0,
            {{65, 2},
             {69, 2},
             {72, 2},
             {69, 2},
             {70, 2},
             {67, 2},
             {65, 4},
             {67, 2},
             {69, 2},
             {70, 2},
             {72, 2},
             {69, 4},
             {65, 4},
             {67, 2},
             {64, 2},
             {65, 8}}};
}

std::vector<SampleBook> sampleBooks() {
    return {
        {QStringLiteral("Cantiques de Lumora"),
         {
             {1,
              QStringLiteral("Lumière du matin"),
              QStringLiteral("J. Morel"),
              QStringLiteral("A. Delorme"),
              QStringLiteral("Sol majeur"),
              QStringLiteral("Louange"),
              QStringLiteral("Matin"),
              QStringLiteral("Aube claire"),
              {QStringLiteral("Lumière du matin, tu chasses la nuit,"),
               QStringLiteral("Le jour se lève et le cœur s'éclaire ;"),
               QStringLiteral("Nous chantons ensemble, sans crainte et sans bruit,"),
               QStringLiteral("Un chant de paix sur toute la terre."), QString(), QStringLiteral("Refrain :"),
               QStringLiteral("Gloire au matin, gloire au jour nouveau,"),
               QStringLiteral("Le ciel s'ouvre, tout devient beau.")},
              Words::Rtf,
              true,
              Music::Mid,
              tuneA(),
              false},
             {2,
              QStringLiteral("Le chemin de la source"),
              QStringLiteral("J. Morel"),
              QStringLiteral("L. Verdier"),
              QStringLiteral("Ré majeur"),
              QStringLiteral("Louange"),
              QStringLiteral("Soir"),
              QStringLiteral("Source vive"),
              {QString(), QStringLiteral("Au bord de la source, l'eau claire nous attend,"),
               QStringLiteral("Le pas se fait léger, la route est douce ;"),
               QStringLiteral("Le soir descend, le ciel est grand,"),
               QStringLiteral("Et l'espérance en nous repousse.")},
              Words::Txt,
              false,
              Music::Wav,
              tuneB(),
              false},
             {3,
              QStringLiteral("Pain partagé"),
              QStringLiteral("M. Aubry"),
              QStringLiteral("A. Delorme"),
              QStringLiteral("Do majeur"),
              QStringLiteral("Communion"),
              QString(),
              QStringLiteral("Table ouverte"),
              {QStringLiteral("Le pain se rompt, la table est mise,"),
               QStringLiteral("Chacun reçoit sa juste part ;"),
               QStringLiteral("Dans la maison que rien ne brise,"),
               QStringLiteral("Il reste place pour qui part.")},
              Words::Rtf,
              false,
              Music::Mp3,
              tuneC(),
              true},
         }},
        {QStringLiteral("Songs of the Way"),
         {
             {1,
              QStringLiteral("Walk in the Light"),
              QStringLiteral("R. Hale"),
              QStringLiteral("E. Barnes"),
              QStringLiteral("F major"),
              QStringLiteral("Pilgrimage"),
              QStringLiteral("Journey"),
              QStringLiteral("Hillside"),
              {QStringLiteral("We walk in the light of a morning sky,"),
               QStringLiteral("The road is long but the heart is high;"),
               QStringLiteral("Each step we take, each hill we climb,"),
               QStringLiteral("We sing along the way in time.")},
              Words::Txt,
              true,
              Music::Mid,
              tuneD(),
              false},
             {2,
              QStringLiteral("Harbour of Rest"),
              QStringLiteral("R. Hale"),
              QStringLiteral("M. Quinn"),
              QStringLiteral("C major"),
              QStringLiteral("Pilgrimage"),
              QStringLiteral("Rest"),
              QStringLiteral("Still Water"),
              {QStringLiteral("When evening falls on the restless sea,"),
               QStringLiteral("A harbour waits for you and me;"),
               QStringLiteral("The lamps are lit along the shore,"),
               QStringLiteral("We rest, and fear the dark no more.")},
              Words::Rtf,
              false,
              Music::Wav,
              tuneC(),
              false},
             {3,
              QStringLiteral("Thanks for the Harvest"),
              QStringLiteral("D. Ward"),
              QStringLiteral("E. Barnes"),
              QStringLiteral("G major"),
              QStringLiteral("Thanksgiving"),
              QString(),
              QStringLiteral("Golden Field"),
              {QStringLiteral("The fields are gold, the barns are full,"),
               QStringLiteral("The orchard bends with fruit;"),
               QStringLiteral("We give our thanks for every grain,"),
               QStringLiteral("For branch and leaf and root.")},
              Words::Txt,
              false,
              Music::Mid,
              tuneA(),
              false},
         }},
    };
}

QString label(const SampleHymn& h) {
    return QString::number(h.number) + QStringLiteral(" - ") + h.title;
}

QByteArray hymnEntry(const SampleBook& book, const SampleHymn& h) {
    const QStringList fields{label(h), h.composer, h.author,   h.tonality, QString(),
                             h.theme,  h.subTheme, h.tuneName, book.name};
    return common::Utf8Encode(fields.join(QLatin1Char('\t')));
}

QString writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return common::writeFileAtomic(path, bytes) ? QString() : QStringLiteral("cannot write ") + path;
}

QString encodeMp3(const PcmAudio& pcm, QByteArray& mp3) {
    QTemporaryDir work;
    const QString wav = work.filePath(QStringLiteral("in.wav")),
                  out = work.filePath(QStringLiteral("out.mp3"));
    QFile f(wav);
    if (!work.isValid() || !f.open(QIODevice::WriteOnly) || f.write(wavBytes(pcm)) < 0)
        return QStringLiteral("cannot write a temporary sound file");
    f.close();
    QProcess lame;
    lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-m"), QStringLiteral("m"),
                                        QStringLiteral("-b"), QStringLiteral("64"), wav, out});
    if (!lame.waitForFinished(120000) || lame.exitStatus() != QProcess::NormalExit || lame.exitCode() != 0)
        return QStringLiteral("lame failed (package lame)");
    QFile result(out);
    if (!result.open(QIODevice::ReadOnly)) return QStringLiteral("lame wrote nothing");
    mp3 = result.readAll();
    return {};
}

QString writeBook(const QString& folder, const SampleBook& book) {
    QByteArray hira = common::kBom;
    for (const SampleHymn& h : book.hymns) {
        hira += hymnEntry(book, h) + "\r\n";
        const QString base = h.wordsByLabel ? label(h) : QString::number(h.number);
        const QString wordsPath = folder + QStringLiteral("/parole/") + base +
                                  (h.words == Words::Rtf ? QStringLiteral(".rtf") : QStringLiteral(".txt"));
        const QByteArray words = h.words == Words::Rtf
                                     ? rtfDocument(label(h), h.lines)
                                     : QByteArray(common::kBom) +
                                           common::Utf8Encode(h.lines.join(QStringLiteral("\r\n"))) + "\r\n";
        if (QString e = writeFile(wordsPath, words); !e.isEmpty()) return e;

        const QString music = folder + QStringLiteral("/musique/") + QString::number(h.number);
        QString e;
        switch (h.music) {
        case Music::None:
            break;
        case Music::Mid:
            e = writeFile(music + QStringLiteral(".mid"), midiFile(h.tune));
            break;
        case Music::Wav:
            e = writeFile(music + QStringLiteral(".wav"), wavBytes(synthesize(h.tune)));
            break;
        case Music::Mp3: {
            QByteArray mp3;
            e = encodeMp3(synthesize(h.tune), mp3);
            if (e.isEmpty()) e = writeFile(music + QStringLiteral(".mp3"), mp3);
            break;
        }
        }
        if (!e.isEmpty()) return e;
        if (h.slides) {
            // A placeholder: the program only hands the file to the shell.
            if (QString e2 =
                    writeFile(folder + QStringLiteral("/Diapo/") + label(h) + QStringLiteral(".pptx"),
                              "Placeholder slide show for the Lumora demo.\r\n");
                !e2.isEmpty())
                return e2;
        }
    }
    // A line ending after the last entry keeps the last line whole; no blank line follows it.
    return writeFile(folder + QStringLiteral("/Hira.txt"), hira);
}

QByteArray bookDisplayName(const QString& data, const QByteArray& code, int number) {
    const QString path = common::findPath(
        data, {QStringLiteral("Bible"), QString::fromUtf8(code), QStringLiteral("Livre_chap.txt")});
    const auto bytes = common::readWholeFile(path);
    if (bytes) {
        common::LineSplitter lines(*bytes);
        QByteArray line;
        bool first = true;
        while (lines.next(line)) {
            if (first) line = line.mid(3);
            first = false;
            const auto f = common::cutFields<5>(line);
            if (f && common::leadingNumber(QByteArrayView((*f)[0])) == number) return (*f)[0];
        }
    }
    return {};
}

QString writeList(const QString& folder, const QString& name, const QList<QByteArray>& entries,
                  const QString& noteTitle, const QStringList& note) {
    QDir().mkpath(folder);
    QByteArray content = common::kBom;
    for (const QByteArray& e : entries)
        content += e + '\r';
    content += "\r\n";
    const QString list = folder + QLatin1Char('/') + name + QStringLiteral(".txt");
    if (!QFileInfo::exists(list) && !common::createFileExclusive(list, content))
        return QStringLiteral("cannot write ") + list;
    const QString notes = folder + QLatin1Char('/') + name + QStringLiteral(".rtf");
    if (!QFileInfo::exists(notes)) common::createFileExclusive(notes, rtfDocument(noteTitle, note));
    return {};
}

} // namespace

QString writeSampleHymnBooks(const QString& dataFolder) {
    const QString root = common::findPath(dataFolder, {QStringLiteral("Cantiques")});
    for (const SampleBook& book : sampleBooks()) {
        const QString target = common::findPath(root, {book.name});
        if (QFileInfo::exists(target)) continue;
        const QString staging = root + QStringLiteral("/.") + book.name + QStringLiteral(".part");
        QDir(staging).removeRecursively();
        if (QString e = writeBook(staging, book); !e.isEmpty()) return e;
        if (!QDir().rename(staging, target)) return QStringLiteral("cannot rename ") + staging;
    }
    return {};
}

QString writeSampleLists(const QString& dataFolder, const QByteArray& code) {
    QList<QByteArray> verses;
    const struct {
        int book, chapter, first, last;
    } passages[] = {{40, 5, 18, 20}, {19, 23, 1, 6}, {43, 3, 16, 17}, {1, 1, 1, 5}};
    for (const auto& p : passages) {
        const QByteArray name = bookDisplayName(dataFolder, code, p.book);
        if (name.isEmpty()) continue;
        verses.append(name + ". " + QByteArray::number(p.chapter) + " : " + QByteArray::number(p.first) +
                      " - " + QByteArray::number(p.last) + '\t' + code);
    }
    const QString bibleLists =
        common::findPath(dataFolder, {QStringLiteral("Bible"), QStringLiteral("Favori")});
    if (QString e = writeList(
            bibleLists, QStringLiteral("Favourite passages"), verses, QStringLiteral("Favourite passages"),
            {QStringLiteral("Passages read aloud in the demo: Genesis 1, Psalm 23, Matthew 5, John 3.")});
        !e.isEmpty())
        return e;

    QList<QByteArray> hymns;
    const auto books = sampleBooks();
    hymns << hymnEntry(books[0], books[0].hymns[0]) << hymnEntry(books[1], books[1].hymns[0])
          << hymnEntry(books[0], books[0].hymns[2]) << hymnEntry(books[1], books[1].hymns[1]);
    const QString hymnLists =
        common::findPath(dataFolder, {QStringLiteral("Cantiques"), QStringLiteral("Favori")});
    return writeList(hymnLists, QStringLiteral("Sunday"), hymns, QStringLiteral("Sunday"),
                     {QStringLiteral("Order of the hymns for Sunday.")});
}

} // namespace lumora::import
