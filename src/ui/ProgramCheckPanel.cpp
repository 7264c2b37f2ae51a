#include "ProgramCheckPanel.h"

#include <QListWidget>
#include <QStyle>

#include <algorithm>

namespace quillon {

namespace {

constexpr int kRowRole = Qt::UserRole;

// Some five lines high by default, so the program list keeps most of the
// window; the user may drag the panel taller.
class FindingList : public QListWidget {
public:
    using QListWidget::QListWidget;
    QSize sizeHint() const override
    {
        return {QListWidget::sizeHint().width(), fontMetrics().lineSpacing() * 5 + 2 * frameWidth() + 8};
    }
};

}  // namespace

ProgramCheckPanel::ProgramCheckPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Programmprüfung"), parent)
{
    setObjectName(QStringLiteral("dockCheck"));
    m_list = new FindingList(this);
    m_list->setObjectName(QStringLiteral("lstCheck"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    // Icons no taller than the text, so that the few lines of the panel hold findings.
    const int side = m_list->fontMetrics().height();
    m_list->setIconSize(QSize(side, side));
    setWidget(m_list);
    m_recheck.setSingleShot(true);
    m_recheck.setInterval(0);
    connect(&m_recheck, &QTimer::timeout, this, &ProgramCheckPanel::refresh);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = item->data(kRowRole).toInt();
        if (row >= 0)
            emit rowActivated(row);
    });
}

void ProgramCheckPanel::refresh()
{
    m_stale = false;
    m_recheck.stop();
    if (m_source)
        showFindings(m_source());
}

void ProgramCheckPanel::programChanged()
{
    if (isVisible())
        m_recheck.start();
    else
        m_stale = true;
}

void ProgramCheckPanel::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    if (m_stale)
        refresh();
}

void ProgramCheckPanel::showFindings(const std::vector<Finding>& given)
{
    m_list->clear();
    // The errors first: they keep the program from running at all.
    std::vector<Finding> findings = given;
    std::stable_partition(findings.begin(), findings.end(),
                          [](const Finding& f) { return f.severity == Finding::Severity::Error; });
    const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const Finding& f : findings) {
        auto* item = new QListWidgetItem(f.severity == Finding::Severity::Warning ? warning : error, f.text(), m_list);
        item->setData(kRowRole, f.row);
        item->setToolTip(f.text());
    }
    if (findings.empty()) {
        auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_DialogApplyButton),
                                         QString::fromUtf8(kCleanText), m_list);
        item->setData(kRowRole, -1);
    }
}

}  // namespace quillon
