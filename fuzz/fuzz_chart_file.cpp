#include "chart/chart.h"
#include "chart/chart_file.h"
#include "storage/person_store.h"
#include "storage/relation_store.h"
#include "storage/tree_file.h"
#include "storage/tree_info.h"
#include "text/program_folder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

using namespace verdan;

class CountingMeasurer final : public TTextMeasurer {
public:
    int TextWidth(const TOFont& font, const QString& text) const override {
        return int(text.size()) * std::clamp(font.Size, 1, 500) / 2;
    }
    int TextHeight(const TOFont& font, const QString&) const override {
        return std::clamp(font.Size, 1, 500) + 2;
    }
};

// A small tree of a couple and their son. Inputs name its persons as @1, @2 and @3, so mutations reach
// the paths that find persons.
QStringList& Ids() {
    static QStringList ids;
    return ids;
}

QString Folder() {
    static const QString folder = QDir::tempPath() + QStringLiteral("/verdan-fuzz-chart-%1").arg(getpid());
    return folder;
}

void OpenTree() {
    QDir(Folder()).removeRecursively();
    QDir().mkpath(Folder());
    SetProgramFolder(Folder() + QStringLiteral("/program/"));
    const QString path = Folder() + QStringLiteral("/fuzz.vrd");
    TTreeProperty props;
    if (!CreateTreeFile(path) || !OpenTreeFile(path) || !InitialiseNewTree(props))
        std::abort();
    QString husband, wife, son;
    AddPerson(QStringLiteral("Husband"), "0", "0", husband, "m");
    AddPerson(QStringLiteral("Wife"), "0", "0", wife, "f");
    AddPerson(QStringLiteral("Son"), husband, wife, son, "m");
    AddMarriage(husband, wife);
    Ids() = {husband, wife, son};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetStoreMessageSink([](StoreMessage, const QString&) {});
    OpenTree();
    return 0;
}

// Reads arbitrary bytes as a chart file. Whatever was read must write out and read back the same.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (int k = 0; k < Ids().size(); ++k)
        bytes.replace("@" + QByteArray::number(k + 1), Ids()[k].toUtf8());
    const QString input = Folder() + QStringLiteral("/input.chart");
    const QString output = Folder() + QStringLiteral("/output.chart");
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const auto measurer = std::make_shared<CountingMeasurer>();
    TChart chart(measurer);
    const TChartReadResult read = ReadChartQuietly(chart, input);
    if (!read.Ok) {
        if (!chart.Persons().isEmpty() || chart.Modified || !chart.ChartFileName.isEmpty())
            std::abort();
        return 0;
    }
    for (const TPersonObject& item : chart.Persons())
        if (item.Position().x() < 0 || item.Position().y() < 0 || item.Position().x() > kMaxChartPosition ||
            item.Position().y() > kMaxChartPosition)
            std::abort();
    if (!WriteChart(chart, output))
        std::abort();
    TChart again(measurer);
    if (!ReadChartQuietly(again, output).Ok || ChartDocument(again) != ChartDocument(chart))
        std::abort();
    return 0;
}
