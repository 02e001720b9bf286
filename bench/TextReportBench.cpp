// The Monte Carlo text report of 32,000 trials: the report's lines written from the trials, then the Text
// Report dialog's table filled with them (the dialog made hidden, as before it shows). The case makes
// windows, so it needs a display (tools/session.sh starts one).

#include "bench/Bench.h"
#include "bench/BenchApp.h"
#include "bench/BenchProgramTrees.h"

#include "analysis/MonteCarloSimulation.h"
#include "dialogs/TextReportDialog.h"
#include "foundation/TextReport.h"
#include "model/TreeDocument.h"
#include "widgets/MessageBoxes.h"
#include "widgets/ProgramDialog.h"
#include "widgets/ReportListView.h"

#include "CommandIds.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>

KIVO_BENCH(MonteCarloTextReport)
{
    HostSilence quiet(Silence::Notices);
    BenchApp app;
    TreeDocument document;
    GrowMonteCarloBenchTree(document);
    MonteCarloSimulation simulation(document.Root);
    MonteCarloSettings settings;
    settings.trials = 32000;
    settings.seed = 1000;
    if (!simulation.Setup(settings))
        return;
    simulation.Begin();
    while (!simulation.RunTrial()) {
    }
    simulation.End();
    TextReport report;
    const double written = BenchBestSeconds(1, [&] { simulation.WriteReport(report, 0); });
    report.CountColumns(true);
    int rows = 0;
    const double filled = BenchBestSeconds(3, [&] {
        ProgramDialog dialog(DialogRes::TextReport);
        std::unique_ptr<ReportListView> list = ShowReportTable(dialog, Ctl::TextReport::ListArea, report);
        rows = static_cast<int>(SendMessageA(list->Handle(), LVM_GETITEMCOUNT, 0, 0));
    });
    std::printf("report of %d trials: lines written in %.3f s; dialog table of %d rows filled in %.3f s\n",
                simulation.RecordCount(), written, rows, filled);
}
