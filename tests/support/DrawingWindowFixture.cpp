#include "DrawingWindowFixture.h"

#include "Naca.h"

#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Language.h"

#include <QDir>
#include <QFile>

QByteArray nacaProfileText(const char *digits, int stations, const QStringList &lines)
{
    const Naca::Section s = Naca::fourDigit(QString::fromLatin1(digits), stations);
    QByteArray text = "\r\nPROFIL " + s.name.toLatin1() + "\r\n";
    for (const QString &l : Naca::pointLines(s))
        text += l.toLatin1() + "\r\n";
    for (const QString &l : lines)
        text += l.toLatin1() + "\r\n";
    return text;
}

QByteArray threeNacaProfiles()
{
    return nacaProfileText("0012", 21,
                           {"GABARIT 100;10;", "FIGURE 0;100;-20;300;20;0;",
                            "FIGURE 2;-300;-40;-100;40;0;", "GABARIT 150;15;", "GABARIT 200;8;"}) +
           nacaProfileText("2412", 21, {"GABARIT 180;10;"}) + nacaProfileText("4412", 21);
}

DrawingWindowFixture::DrawingWindowFixture(const QByteArray &database, bool french)
    : before(QDir::currentPath()), original(database)
{
    Language::setFrench(french);
    QFile f(dir.filePath(QStringLiteral("Profils.pro")));
    if (f.open(QIODevice::WriteOnly))
        f.write(original);
    f.close();
    QDir::setCurrent(dir.path());
    form = std::make_unique<TForm1>();
    dialog = new TForm2(form.get());
    form->setForm2(dialog);
    form->resize(900, 700);
    form->prepareToShow();
}

DrawingWindowFixture::~DrawingWindowFixture()
{
    QDir::setCurrent(before);
}

ProfileStore &DrawingWindowFixture::store()
{
    return form->store();
}

QByteArray DrawingWindowFixture::fileBytes() const
{
    QFile f(dir.filePath(QStringLiteral("Profils.pro")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void DrawingWindowFixture::chooseProfile(int i)
{
    form->Cb1->setCurrentIndex(i);
    emit form->Cb1->activated(i);
}

void DrawingWindowFixture::chooseTemplate(int i)
{
    form->CB2->setCurrentIndex(i);
    emit form->CB2->activated(i);
}

bool DrawingWindowFixture::imageHasInk() const
{
    const QImage &img = form->drawing().image();
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2)
            if (img.pixelColor(x, y) == QColor(0, 0, 0))
                return true;
    return false;
}
