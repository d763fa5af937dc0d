#pragma once

#include <QDialog>
#include <QShowEvent>
#include <QTimer>

#include <optional>

// A modal dialog that brings its fields up to date each time it opens
// (FormActivate, before the user sees it; a restore from the task bar
// leaves them as they are) and hands back what it made only when closed
// with OK.
class ActivatingDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    virtual void FormActivate() = 0;

protected:
    // A window whose refresh takes a while (or may ask something) runs it
    // once it is up, so that the user sees it and its messages appear over
    // it.
    void activateOnceShown() { m_onceShown = true; }

    void showEvent(QShowEvent *event) override
    {
        QDialog::showEvent(event);
        if (event->spontaneous())
            return;
        if (m_onceShown)
            QTimer::singleShot(0, this, [this] { FormActivate(); });
        else
            FormActivate();
    }

    // Runs the dialog: result, cleared first and set by its handlers, when
    // it was closed with OK; nothing otherwise.
    template <typename T> std::optional<T> runModal(std::optional<T> &result)
    {
        result.reset();
        if (exec() != QDialog::Accepted)
            return std::nullopt;
        return result;
    }

private:
    bool m_onceShown = false;
};
