// lumora-cli export: writes a passage to a file as Save as writes it from the Bible tab.

#include "cli/biblepick.h"
#include "cli/cli.h"
#include "output/savedtext.h"

namespace lumora::cli {
namespace {

constexpr char kUsageLine[] =
    "export [--version CODE] [--titles] [--uppercase] [--header] REFERENCE|BOOK CHAPTER [FIRST [LAST]] OUT";

int exportPassage(Invocation& inv) {
    bool missing = false;
    PassagePicks picks;
    picks.version = inv.takeOption(QStringLiteral("--version"), &missing);
    picks.titles = inv.takeFlag(QStringLiteral("--titles"));
    picks.uppercase = inv.takeFlag(QStringLiteral("--uppercase"));
    picks.header = inv.takeFlag(QStringLiteral("--header"));
    QStringList& a = inv.args();
    if (missing || a.size() < 2) return usageError(QString::fromLatin1(kUsageLine));
    const QString out = a.takeLast();
    if (const QString why = takePassageArguments(a, picks); !why.isEmpty()) return usageError(why);
    const QString data = inv.dataFolder();
    if (data.isEmpty()) return kFailed;
    const auto picked = pickPassage(data, picks);
    if (!picked) return kFailed;
    const auto p = buildPickedPassage(*picked, picks);
    if (!p) return kFailed;
    output::PassageLook look = output::defaultPassageLook();
    look.rightToLeft = picked->rightToLeft;
    QString why;
    if (!output::SaveShownText(out, output::passageShownText(p->ShownText, look), &why)) {
        fail(QStringLiteral("cannot write %1: %2").arg(out, why));
        return kFailed;
    }
    return kOk;
}

const Registrar exportCommand("export", kUsageLine, exportPassage);

} // namespace
} // namespace lumora::cli
