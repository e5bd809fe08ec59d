#pragma once
// A small sound data folder for the loaders' fuzz targets: each input takes the place of one of
// its files, every loader that reads that file runs, and the folder is made sound again.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <map>

namespace lumora::fuzz {

class SoundFolder final {
  public:
    SoundFolder() {
        const QByteArray bom("\xEF\xBB\xBF");
        m_files = {
            {"Bible/Version.txt", bom + "TST - Test\r\nGONE - missing\r\n"},
            {"Bible/TST/Livre_chap.txt",
             bom + "01 Genesis\t01O\t2\tGen\tLaw\r\n40 Matthew\t40N\t2\tMatt\tGospels\r\n43 "
                   "John\t43N\t1\tJn\tGospels\r\n"},
            {"Bible/TST/Chap_verset.txt",
             "01O\t1\t3\r\n01O\t2\t2\r\n40N\t1\t3\r\n40N\t2\t2\r\n43N\t1\t2\r\n"},
            {"Bible/TST/TST-O.txt",
             bom + "01O\t1\t1\t1,50000\t[Creation]In the beginning\r\n01O\t1\t2\t0\tAnd the earth\r\n"
                   "01O\t1\t3\t0\tLight\r\n01O\t2\t1\t0\t[A][B]Thus\r\n01O\t2\t2\t0\tOn the seventh\r\n"},
            {"Bible/TST/TST-N.txt",
             bom + "40N\t1\t1\t0\tThe book\r\n40N\t1\t2\t0\tAbraham\r\n40N\t1\t3\t0\tJudas\r\n"
                   "40N\t2\t1\t2,00000\tJesus was born\r\n40N\t2\t2\t4,50000\tSaying\r\n"
                   "43N\t1\t1\t0\tIn the beginning was the Word\r\n43N\t1\t2\t0\tThe same\r\n"},
            {"Cantiques/Book/Hira.txt",
             bom + "1 - Morning\tComp\tAuth\tG\t-\tPraise\tMorning\tTune\tBook\r\n"
                   "2 - Evening\tComp\tAuth\tD\t-\tPri\xC3\xA8re\tEvening\tTune\tBook\r\n"
                   "3 - Night\tComp\tAuth\tD\t-\tPraise\tNight\tTune\tBook\r\n"},
            {"Cantiques/Book/parole/1.txt", "\r\nLine one\r\nLine two\r\n"},
            {"Cantiques/Book/parole/2 - Evening.rtf",
             "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\b Bold} words\\par}"},
            {"Bible/Favori/Sunday.txt", bom + "40 Matthew. 2 : 1 - 2\tTST\r01 Genesis. 1 : 1 - 1\tTST\r\r\n"},
            {"Cantiques/Favori/Play.txt",
             bom + "1 - Morning\tComp\tAuth\tG\t-\tPraise\tMorning\tTune\tBook\r\r\n"},
        };
        reset();
    }

    QString path() const { return m_dir.path(); }
    QString file(const QString& rel) const { return m_dir.path() + QLatin1Char('/') + rel; }
    static QStringList names(const std::map<QString, QByteArray>& files) {
        QStringList out;
        for (const auto& [name, bytes] : files)
            out << name;
        return out;
    }
    const std::map<QString, QByteArray>& files() const { return m_files; }

    // Every file back to its sound bytes (generated files such as Theme.txt removed).
    void reset() const {
        QFile::remove(file(QStringLiteral("Cantiques/Book/Theme.txt")));
        for (const auto& [name, bytes] : m_files)
            put(name, bytes);
    }
    void put(const QString& rel, const QByteArray& bytes) const {
        const QString p = file(rel);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    }

  private:
    QTemporaryDir m_dir;
    std::map<QString, QByteArray> m_files;
};

} // namespace lumora::fuzz
