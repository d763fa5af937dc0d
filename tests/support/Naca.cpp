#include "Naca.h"

#include <cmath>

double Naca::halfThickness(double t, double x)
{
    return 5.0 * t *
           (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x -
            0.1036 * x * x * x * x);
}

Naca::Section Naca::fourDigit(const QString &digits, int stations)
{
    const double m = digits.mid(0, 1).toInt() / 100.0;
    const double p = digits.mid(1, 1).toInt() / 10.0;
    const double t = digits.mid(2, 2).toInt() / 100.0;
    Section s;
    s.name = QStringLiteral("NACA ") + digits;
    for (int i = 0; i < stations; ++i) {
        const double x = 0.5 * (1.0 - std::cos(M_PI * i / (stations - 1)));
        double yc = 0.0;
        if (m > 0 && p > 0)
            yc = x < p ? m / (p * p) * (2 * p * x - x * x)
                       : m / ((1 - p) * (1 - p)) * ((1 - 2 * p) + 2 * p * x - x * x);
        double yt = halfThickness(t, x);
        if (i == 0 || i == stations - 1)
            yt = 0, yc = 0;
        s.upper.push_back({i == stations - 1 ? 1.0 : x, yc + yt});
        s.lower.push_back({i == stations - 1 ? 1.0 : x, yc - yt});
    }
    return s;
}

Naca::Section Naca::fiveDigit(const QString &digits, int stations)
{
    // Position of the largest camber and the constant of its cubic, for a
    // design lift coefficient of 0.3 (second digit 1 to 5).
    struct Camber {
        double m, k1;
    };
    static const Camber camberLines[] = {
        {0.0580, 361.400}, {0.1260, 51.640}, {0.2025, 15.957}, {0.2900, 6.643}, {0.3910, 3.230}};
    Section s;
    if (digits.size() != 5 || digits[2] != QLatin1Char('0'))
        return s;
    const int position = digits.mid(1, 1).toInt();
    if (position < 1 || position > 5)
        return s;
    const double scale = digits.mid(0, 1).toInt() * 0.15 / 0.3;
    const Camber c = camberLines[position - 1];
    const double t = digits.mid(3, 2).toInt() / 100.0;
    s.name = QStringLiteral("NACA ") + digits;
    for (int i = 0; i < stations; ++i) {
        const double x = 0.5 * (1.0 - std::cos(M_PI * i / (stations - 1)));
        double yc = x < c.m ? c.k1 / 6.0 * (x * x * x - 3 * c.m * x * x + c.m * c.m * (3 - c.m) * x)
                            : c.k1 * c.m * c.m * c.m / 6.0 * (1 - x);
        yc *= scale;
        double yt = halfThickness(t, x);
        if (i == 0 || i == stations - 1)
            yt = 0, yc = 0;
        s.upper.push_back({i == stations - 1 ? 1.0 : x, yc + yt});
        s.lower.push_back({i == stations - 1 ? 1.0 : x, yc - yt});
    }
    return s;
}

QStringList Naca::pointLines(const Section &s)
{
    auto f = [](double v) {
        return QString::number(v * 100.0, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')) +
               QLatin1Char(';');
    };
    QStringList lines;
    for (size_t i = 0; i < s.upper.size(); ++i)
        lines << f(s.upper[i].x) + f(s.upper[i].y) + f(s.lower[i].x) + f(s.lower[i].y);
    return lines;
}

QByteArray Naca::datFile(const Section &s, const QString &title)
{
    QByteArray out = title.toLatin1() + "\r\n";
    auto row = [&](const Point &pt) {
        out += QByteArray::number(pt.x, 'f', 5) + "  " + QByteArray::number(pt.y, 'f', 5) + "\r\n";
    };
    for (auto it = s.upper.rbegin(); it != s.upper.rend(); ++it)
        row(*it);
    for (size_t i = 1; i < s.lower.size(); ++i)
        row(s.lower[i]);
    return out;
}

QByteArray Naca::profilsText(const std::vector<StoredProfile> &profiles)
{
    QByteArray text;
    for (const StoredProfile &p : profiles) {
        const Section s = fourDigit(QString::fromLatin1(p.digits), p.stations);
        text += "PROFIL " + s.name.toLatin1() + "\r\n";
        for (const QString &l : pointLines(s))
            text += l.toLatin1() + "\r\n";
        for (const QByteArray &l : p.after)
            text += l + "\r\n";
    }
    return text;
}
