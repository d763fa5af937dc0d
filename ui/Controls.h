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

    void stepBy(int steps) override
    {
        QSpinBox::stepBy(steps);
        emit arrowStepped(steps);
    }

signals:
    // One click on an arrow (or a wheel step), after the value changed.
    void arrowStepped(int steps);
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
