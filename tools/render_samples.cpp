// Renders every template of a Profils.pro to PNG files, as the drawing window
// would show them, for checking the drawing by eye.
//
//   render_samples [Profils.pro] [output folder] [drawing area width]
#include "profiles/ProfileStore.h"
#include "render/TemplateDrawing.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace
{

class PrintedPrompts : public Prompts
{
public:
    void message(const QString &text) override { std::printf("message: %s\n", qPrintable(text)); }
    bool confirm(const QString &) override { return false; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &,
                         const QString &) override
    {
        return {};
    }
};

QString fileStem(const QString &name)
{
    QString s = name;
    for (QChar &c : s) {
        if (!c.isLetterOrNumber())
            c = QLatin1Char('_');
    }
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    PrintedPrompts prompts;
    Prompts::install(&prompts);

    const QString input =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("sample/Profils.pro");
    const QString output = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("render");
    const int areaWidth = argc > 3 ? std::atoi(argv[3]) : 1000;
    QDir().mkpath(output);

    QFile file(input);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(input));
        return 1;
    }
    ProfileStore store;
    store.loadFromBytes(file.readAll());

    TemplateDrawing drawing(&store);
    // The figures' boxes, unrotated, so that their place can be checked.
    drawing.setFigureHook([&drawing](QPainter &p, int i) {
        const auto &f = drawing.working().scaledFigures[size_t(i)];
        const ViewGeometry &g = drawing.geometry();
        p.setPen(QColor(0, 0, 255));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(g.originXf + f[FigX1], g.originYf + f[FigY1], f[FigX2] - f[FigX1],
                          f[FigY2] - f[FigY1]));
    });
    drawing.setDisplayOption(TemplateDrawing::DisplayOption::GabaritPoints, true);
    drawing.setDisplayOption(TemplateDrawing::DisplayOption::ProfilPoints, true);

    int written = 0;
    for (int p = 0; p < store.count(); ++p) {
        const int templates = std::max(store.templateCount(p), 1);
        for (int t = 0; t < templates; ++t) {
            store.dataError = false;
            store.currentProfile = p;
            drawing.SelectProfile(p, t);
            for (int zoom = 0; zoom <= 2; zoom += 2) {
                while (drawing.viewState().zoomLevel < zoom)
                    drawing.zoomIn();
                if (!drawing.layoutScreen({areaWidth, 324, 0}) || !drawing.render()) {
                    std::printf("%s template %d: not drawn\n", qPrintable(store.name(p)), t + 1);
                    continue;
                }
                const QString path = QDir(output).filePath(QStringLiteral("%1_t%2_z%3.png")
                                                               .arg(fileStem(store.name(p)))
                                                               .arg(t + 1)
                                                               .arg(zoom));
                drawing.image().save(path);
                if (zoom == 2) {
                    // The leading and trailing edges magnified four times.
                    const ViewGeometry &g = drawing.geometry();
                    const QRect le(g.originX - 20, g.originY - 50, 120, 100);
                    const QRect te(g.trailingEdgeX - 150, g.originY - 50, 170, 100);
                    for (const auto &[suffix, rect] : {std::pair{"le", le}, std::pair{"te", te}}) {
                        const QImage crop = drawing.image().copy(rect);
                        crop.scaled(crop.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                            .save(QString(path).replace(
                                QStringLiteral(".png"),
                                QStringLiteral("_%1.png").arg(QLatin1String(suffix))));
                    }
                }
                std::printf("%s: %s / %s\n", qPrintable(path),
                            qPrintable(drawing.relativeThicknessCaption()),
                            qPrintable(drawing.maxThicknessPositionCaption()));
                ++written;
            }
        }
    }
    return written > 0 ? 0 : 1;
}
