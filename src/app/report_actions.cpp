#include "app/report_actions.h"

#include "cash/screens/expenses_screen.h"
#include "reports/screens/monitor_screen.h"
#include "reports/screens/report_screens.h"
#include "sales/screens/sales_actions.h"
#include "sales/screens/sales_screen.h"
#include "session/screens/utility_menu.h"
#include "tickets/screens/audit_access_screen.h"
#include "tickets/screens/journal_viewer_screen.h"

namespace vendura {
namespace {

template <typename Screen>
void openReport(const ReportDeps& deps, QWidget* parent) {
    Screen screen(deps, parent);
    if (screen.load()) screen.exec();
}

}  // namespace

void registerReportActions(SalesActions& actions, Printers& printers, ProgramEnd& programEnd,
                           const QString& dataFolder) {
    actions.set(SalesCommand::Reportes, [&printers, &programEnd, dataFolder](SalesScreen& s) {
        ServerLink& link = s.link();
        const ReportDeps deps{link, printers, programEnd, dataFolder};
        UtilityMenu* menu = nullptr;
        UtilityMenuActions open{
            [&] { openReport<SalesReportScreen>(deps, menu); },
            [&] { openReport<PrizeReportScreen>(deps, menu); },
            [&] { openReport<FinalReportScreen>(deps, menu); },
            [&] { openReport<AccountStatementScreen>(deps, menu); },
            [&](const QString& vendorLabel) {
                ExpensesScreen screen(link, menu);
                screen.setVendorLabel(vendorLabel);
                screen.exec();
            },
            [&] {
                MonitorScreen screen(link, programEnd, menu);
                if (screen.load()) screen.exec();
            },
            [&] {
                AuditAccessScreen access(link, menu);
                if (access.exec() != QDialog::Accepted) return;
                JournalViewerScreen viewer(link, dataFolder, menu);
                viewer.exec();
            },
        };
        UtilityMenu screen(link, std::move(open), &s);
        menu = &screen;
        screen.exec();
    });
}

}  // namespace vendura
