#include "ui/WorkProgress.h"

#include "ui/Language.h"

#include <QProgressDialog>

WorkProgress::WorkProgress(QWidget *parent, const QString &label, int total,
                           const QString &objectName, int showAfterMs)
    : m_dialog(std::make_unique<QProgressDialog>(
          label, Language::pick(QStringLiteral("Annuler"), QStringLiteral("Cancel")), 0, total,
          parent))
{
    m_dialog->setObjectName(objectName);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(showAfterMs);
    if (showAfterMs <= 0)
        m_dialog->show();
    else
        m_dialog->setValue(0); // starts the dialog's clock
}

WorkProgress::~WorkProgress() = default;

bool WorkProgress::advance(int done)
{
    m_dialog->setValue(done);
    return !m_dialog->wasCanceled();
}

bool WorkProgress::cancelled() const
{
    return m_dialog->wasCanceled();
}
