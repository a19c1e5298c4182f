#include "cli_commands.h"
#include "cli_help.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace verdan::cli {
namespace {

QSet<QString> DeclaredOptions() {
    QSet<QString> declared{QStringLiteral("--help"), QStringLiteral("--version")};
    for (const Command& command : Commands())
        for (const TCommandOption& option : CommandOptions(command))
            declared << QString::fromUtf8(option.Name);
    return declared;
}

// Run hands a handler only the options the table gives its command, so an option a handler reads but the
// table lacks could never be used, and would be missing from --help, the manual page and the completion.
TEST(CliTable, EveryOptionTheHandlersReadIsInTheTable) {
    const QSet<QString> declared = DeclaredOptions();
    const QDir sources(QStringLiteral(VERDAN_CLI_SOURCES));
    const QStringList files = sources.entryList({QStringLiteral("cmd_*.cpp")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    static const QRegularExpression literal(QStringLiteral("\"(--[a-z][a-z0-9-]*)"));
    for (const QString& name : files) {
        QFile file(sources.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = literal.globalMatch(text); it.hasNext();) {
            const QString option = it.next().captured(1);
            EXPECT_TRUE(declared.contains(option)) << qPrintable(name) << " reads " << qPrintable(option);
        }
    }
}

TEST(CliTable, CommandsAndTheirOptionsAreNamedOnceWithALineOfHelp) {
    QSet<QString> names;
    for (const Command& command : Commands()) {
        const QString name = QString::fromUtf8(command.name);
        EXPECT_FALSE(names.contains(name)) << "two commands " << command.name;
        names << name;
        EXPECT_FALSE(name.startsWith(u'-')) << command.name;
        EXPECT_TRUE(*command.help && !QString::fromUtf8(command.help).contains(u'\n')) << command.name;
        QSet<QString> options;
        for (const TCommandOption& option : CommandOptions(command)) {
            const QString optionName = QString::fromUtf8(option.Name);
            EXPECT_TRUE(optionName.startsWith(QLatin1String("--"))) << command.name << ' ' << option.Name;
            EXPECT_FALSE(options.contains(optionName)) << command.name << " has " << option.Name << " twice";
            EXPECT_NE(optionName, QStringLiteral("--help")) << command.name << ": Run answers --help itself";
            EXPECT_TRUE(*option.Help) << command.name << ' ' << option.Name;
            options << optionName;
        }
    }
}

TEST(CliHelp, EveryCommandHasItsLineAndItsOwnHelp) {
    const QString help = GeneralHelp();
    for (const Command& command : Commands()) {
        EXPECT_TRUE(help.contains(QStringLiteral("\n  %1 ").arg(QString::fromUtf8(command.name))))
            << command.name;
        const QString own = CommandHelp(command);
        EXPECT_TRUE(
            own.startsWith(QStringLiteral("usage: verdan-cli %1 ").arg(QString::fromUtf8(command.name))));
        for (const TCommandOption& option : CommandOptions(command))
            EXPECT_TRUE(own.contains(QString::fromUtf8(option.Name))) << command.name << ' ' << option.Name;
    }
}

// A help text may begin with a dot or hold backslashes: roff must print it, not read it as a request.
TEST(CliHelp, RoffTextIsPrintedAsWritten) {
    EXPECT_EQ(RoffText(QStringLiteral(".hidden")), QStringLiteral("\\&.hidden"));
    EXPECT_EQ(RoffText(QStringLiteral("'quoted")), QStringLiteral("\\&'quoted"));
    EXPECT_EQ(RoffText(QStringLiteral("one\\n two-three")), QStringLiteral("one\\en two\\-three"));
    EXPECT_EQ(RoffText(QStringLiteral("a\n.b")), QStringLiteral("a\n\\&.b"));
    const QString page = CliManualPage();
    for (const Command& command : Commands())
        EXPECT_TRUE(page.contains(QStringLiteral(".TP\n\\fB") + RoffText(QString::fromUtf8(command.name))))
            << command.name;
}

} // namespace
} // namespace verdan::cli
