// Where a StatusNotifierItem host says its icon was clicked.
#include "qt/TrayClickPoint.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTimer>

#include <utility>

namespace {

constexpr char TrayCategory[] = "qt.qpa.tray";

QtMessageHandler previousHandler = nullptr;
QLoggingCategory::CategoryFilter previousFilter = nullptr;
std::optional<QPoint> pending;

void filter(QLoggingCategory* category)
{
    if (previousFilter)
        previousFilter(category);
    if (qstrcmp(category->categoryName(), TrayCategory) == 0)
        category->setEnabled(QtDebugMsg, true);
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg || qstrcmp(context.category, TrayCategory) != 0) {
        if (previousHandler)
            previousHandler(type, context, message);
        return;
    }
    // The two numbers of Activate and ContextMenu; every other line of the log has words.
    static const QRegularExpression point(QStringLiteral("^(-?\\d+) (-?\\d+)$"));
    const QRegularExpressionMatch match = point.match(message);
    if (!match.hasMatch())
        return;
    pending = QPoint(match.captured(1).toInt(), match.captured(2).toInt());
    // Qt reports the activation at once, in the same call, and the program handles it one turn
    // of the event loop later (after the host has its reply); a point nobody took is stale after.
    QTimer::singleShot(0, [] { QTimer::singleShot(0, [] { pending.reset(); }); });
}

} // namespace

void TrayClickPoint::install()
{
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    previousHandler = qInstallMessageHandler(handler);
    previousFilter = QLoggingCategory::installFilter(filter);
}

std::optional<QPoint> TrayClickPoint::take()
{
    return std::exchange(pending, std::nullopt);
}
