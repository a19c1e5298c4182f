#include "common/testing.h"
#include "text/name_utils.h"
#include "text/search_fold.h"

#include <QFile>
#include <gtest/gtest.h>

namespace verdan {
namespace {

// The cases the site's script is checked against in the browser test: here the program's own reading of
// each text must give the same words, so the two searches cannot drift apart.
TEST(SiteSearchWords, ProgramReadsEveryCaseAsListed) {
    QFile cases(test::TestData(QStringLiteral("web/search_cases.tsv")));
    ASSERT_TRUE(cases.open(QIODevice::ReadOnly | QIODevice::Text));
    int checked = 0;
    while (!cases.atEnd()) {
        const QString line = QString::fromUtf8(cases.readLine()).chopped(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList columns = line.split(u'\t');
        ASSERT_EQ(columns.size(), 2) << line.toStdString();
        QStringList words;
        SplitNameWords(CleanName(SearchFold(columns[0])), words);
        EXPECT_EQ(words.join(u'|'), columns[1]) << columns[0].toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

} // namespace
} // namespace verdan
