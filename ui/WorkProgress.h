#pragma once

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// The progress dialog of long work (exports, prints, catalogue listings):
// window-modal over its parent, with a Cancel button in the run's language.
// The work asks it at each step whether to go on.
class WorkProgress
{
public:
    // With showAfterMs 0 the dialog shows at once: work known to be long by
    // its count has its cancel within reach from the start. Otherwise it
    // shows only once the work has lasted that long, so quick work never
    // flashes a dialog.
    WorkProgress(QWidget *parent, const QString &label, int total, const QString &objectName,
                 int showAfterMs = 0);
    ~WorkProgress();
    WorkProgress(const WorkProgress &) = delete;
    WorkProgress &operator=(const WorkProgress &) = delete;

    // Moves the bar to done (lets the dialog's clicks through once shown);
    // false once the user has cancelled.
    bool advance(int done);
    bool cancelled() const;

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};
