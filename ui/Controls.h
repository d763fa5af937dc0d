#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

// A spin field: the edit box and its up-down arrows in one control. The
// arrows report each step, so handlers can tell an arrow click from typing.
class SpinField : public QSpinBox
{
    Q_OBJECT
public:
    SpinField(int min, int max, int step, int value, QWidget *parent = nullptr) : QSpinBox(parent)
    {
        setRange(min, max);
        setSingleStep(step);
        setValue(value);
    }
    // The edit box of the field.
    QLineEdit *edit() const { return lineEdit(); }

    // Lets the field hold any whole number the user types, so that what it
    // shows is what was typed; the arrows still keep within min..max. The
    // owner checks the range when the value is taken.
    void keepTypedValues(int min, int max)
    {
        m_stepMin = min;
        m_stepMax = max;
        m_keepTyped = true;
        setRange(-99999, 99999);
    }
    int stepMinimum() const { return m_keepTyped ? m_stepMin : minimum(); }
    int stepMaximum() const { return m_keepTyped ? m_stepMax : maximum(); }

    void stepBy(int steps) override
    {
        if (m_keepTyped)
            setValue(qBound(m_stepMin, value() + steps * singleStep(), m_stepMax));
        else
            QSpinBox::stepBy(steps);
        emit arrowStepped(steps);
    }

protected:
    StepEnabled stepEnabled() const override
    {
        if (!m_keepTyped)
            return QSpinBox::stepEnabled();
        StepEnabled e = StepNone;
        if (value() < m_stepMax)
            e |= StepUpEnabled;
        if (value() > m_stepMin)
            e |= StepDownEnabled;
        return e;
    }

signals:
    // One click on an arrow (or a wheel step), after the value changed.
    void arrowStepped(int steps);

private:
    bool m_keepTyped = false;
    int m_stepMin = 0;
    int m_stepMax = 0;
};

// A titled group of radio buttons chosen by index.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString &title, const QStringList &items, QWidget *parent = nullptr)
        : QGroupBox(title, parent)
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(6, 2, 6, 2);
        layout->setSpacing(0);
        for (int i = 0; i < items.size(); ++i) {
            auto *b = new QRadioButton(items[i], this);
            m_group.addButton(b, i);
            layout->addWidget(b);
        }
        connect(&m_group, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
    }
    int itemIndex() const { return m_group.checkedId(); }
    void setItemIndex(int i)
    {
        if (QAbstractButton *b = m_group.button(i))
            b->setChecked(true);
    }
    QAbstractButton *item(int i) const { return m_group.button(i); }

signals:
    void itemClicked(int index);

private:
    QButtonGroup m_group;
};
