// The folders of src/ include one another downward only: core areas never see a ui, one area's ui
// never sees another's, and nothing but the program's own folder includes app/.

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>

namespace {

// The folder a source file belongs to, as the build knows it: "bible", "bible/ui", "platform/qt"...
QString unitOf(const QString& relativePath) {
    const QStringList parts = relativePath.split(QLatin1Char('/'));
    if (parts.size() >= 3 && (parts[1] == QLatin1String("ui") || parts[1] == QLatin1String("qt")))
        return parts[0] + QLatin1Char('/') + parts[1];
    return parts.value(0);
}

// What each folder may include besides itself.
const std::map<QString, QStringList>& allowed() {
    static const std::map<QString, QStringList> rules = [] {
        const std::pair<const char*, const char*> table[] = {
            {"common", ""},
            {"session", "common"},
            {"platform", "common"},
            {"platform/qt", "common platform"},
            {"bible", "common session"},
            {"hymns", "common session"},
            {"lists", "common session"},
            {"remote", "common session"},
            {"marks", "common session bible"},
            {"output", "common session bible hymns"},
            {"bible/ui", "common session bible platform"},
            {"hymns/ui", "common session hymns platform"},
            {"lists/ui", "common session lists platform"},
            {"marks/ui", "common session marks bible platform"},
            {"output/ui", "common session output bible hymns platform"},
            {"windows/ui", "common session platform"},
            {"remote/ui", "common session remote platform"},
            {"import/ui", "common session import bible hymns lists marks output platform"},
            {"import", "common session bible hymns lists marks output"},
            {"cli", "common session bible hymns lists marks output import"},
        };
        std::map<QString, QStringList> r;
        for (const auto& [folder, may] : table)
            r[QString::fromLatin1(folder)] =
                QString::fromLatin1(may).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        return r;
    }();
    return rules;
}

// The offending includes of one file: "file: include" lines.
QStringList violations(const QString& relativePath, const QString& source) {
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s+"([^"]+)")re"),
                                            QRegularExpression::MultilineOption);
    const QString from = unitOf(relativePath);
    if (from == QLatin1String("app")) return {};
    const auto rule = allowed().find(from);
    QStringList out;
    for (auto it = include.globalMatch(source); it.hasNext();) {
        const QString target = it.next().captured(1);
        if (!target.contains(QLatin1Char('/'))) continue; // a header of the same folder
        const QString to = unitOf(target);
        if (to == from) continue;
        if (rule == allowed().end() || !rule->second.contains(to))
            out << relativePath + QStringLiteral(": ") + target;
    }
    return out;
}

} // namespace

TEST(Structure, ruleCatchesUpwardAndSidewaysIncludes) {
    EXPECT_EQ(violations("bible/ui/x.h", "#include \"app/frmlumora.h\"\n").size(), 1);
    EXPECT_EQ(violations("bible/x.h", "#include \"bible/ui/passageview.h\"\n").size(), 1);
    EXPECT_EQ(violations("bible/ui/x.cpp", "  #include \"hymns/ui/hymnselection.h\"\n").size(), 1);
    EXPECT_EQ(violations("cli/x.cpp", "#include \"platform/prompts.h\"\n").size(), 1);
    EXPECT_EQ(violations("newarea/x.cpp", "#include \"common/text.h\"\n").size(), 1); // no rule yet
    EXPECT_TRUE(violations("bible/ui/x.cpp", "#include \"bible/ui/y.h\"\n#include \"platform/shell.h\"\n"
                                             "#include \"bible/passagebuilder.h\"\n#include <QWidget>\n")
                    .isEmpty());
    EXPECT_TRUE(violations("app/x.cpp", "#include \"hymns/ui/hymnselection.h\"\n").isEmpty());
}

TEST(Structure, noIncludeRunsUpwardInTheSources) {
    const QString src = QStringLiteral(LUMORA_SOURCE_DIR "/src/");
    QStringList found;
    int files = 0;
    for (QDirIterator it(src, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        found << violations(path.mid(src.size()), QString::fromUtf8(f.readAll()));
        ++files;
    }
    EXPECT_GT(files, 50);
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}
