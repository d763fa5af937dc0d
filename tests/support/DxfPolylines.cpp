#include "DxfPolylines.h"

#include <QTemporaryFile>

#include <dl_creationadapter.h>
#include <dl_dxf.h>

namespace DxfPolylines
{

namespace
{

struct Collector : DL_CreationAdapter {
    ByLayer lines;
    Line *current = nullptr;
    void addPolyline(const DL_PolylineData &d) override
    {
        auto &layer = lines[QString::fromStdString(attributes.getLayer())];
        layer.push_back(Line{{}, (d.flags & 1) != 0});
        current = &layer.back();
    }
    void addVertex(const DL_VertexData &d) override
    {
        if (current)
            current->points << QPointF(d.x, d.y);
    }
    void endEntity() override { current = nullptr; }
};

} // namespace

ByLayer read(const QByteArray &dxf)
{
    QTemporaryFile file;
    if (!file.open() || file.write(dxf) != dxf.size())
        return {};
    file.close();
    Collector collector;
    DL_Dxf reader;
    if (!reader.in(QFile::encodeName(file.fileName()).toStdString(), &collector))
        return {};
    return collector.lines;
}

} // namespace DxfPolylines
