// symbolbild: renders the desktop icon from the wizard's picture, once per
// size, into a hicolor icon theme tree.
//   symbolbild BILD.png ORDNER NAME GROESSE...
// writes ORDNER/GROESSExGROESSE/apps/NAME.png for each size. Exit code 0, 1
// when the picture cannot be read or an icon cannot be written, 2 on usage.
#include <cstdio>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

using namespace Qt::StringLiterals;

namespace {

// The TV set at the top of the picture (antenna to feet) is what the icon
// shows; the clock below would shrink to a dot at small sizes.
constexpr int kFernseherMitteY = 64;

void fehler(const QString& text)
{
    std::fprintf(stderr, "symbolbild: %s\n", text.toLocal8Bit().constData());
}

QImage symbol(const QImage& bild, int groesse)
{
    const int seite = qMin(bild.width(), bild.height());
    const int oben = qBound(0, kFernseherMitteY - seite / 2, bild.height() - seite);
    const QImage quadrat = bild.copy((bild.width() - seite) / 2, oben, seite, seite)
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage klein =
        quadrat.scaled(groesse, groesse, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    // Rounded corners, as the icons beside it in a menu have; the
    // smallest sizes keep square corners so that no pixel of them is lost.
    if (groesse >= 24) {
        QPainterPath rund;
        const qreal radius = groesse / 8.0;
        rund.addRoundedRect(QRectF(0, 0, groesse, groesse), radius, radius);
        QPainterPath ecken;
        ecken.addRect(QRectF(0, 0, groesse, groesse));
        ecken -= rund;
        QPainter p(&klein);
        p.setRenderHint(QPainter::Antialiasing);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillPath(ecken, Qt::transparent);
    }
    return klein;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "Aufruf: symbolbild BILD.png ORDNER NAME GROESSE...\n");
        return 2;
    }
    const QString quelle = QString::fromLocal8Bit(argv[1]);
    const QString ordner = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    const QImage bild(quelle);
    if (bild.isNull()) {
        fehler(u"Das Bild %1 kann nicht gelesen werden."_s.arg(quelle));
        return 1;
    }
    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int groesse = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || groesse < 8 || groesse > 1024) {
            fehler(u"Die Größe %1 ist keine Zahl von 8 bis 1024."_s.arg(
                QString::fromLocal8Bit(argv[i])));
            return 2;
        }
        const QString unterordner = u"%1/%2x%2/apps"_s.arg(ordner).arg(groesse);
        const QString ziel = u"%1/%2.png"_s.arg(unterordner, name);
        if (!QDir().mkpath(unterordner) || !symbol(bild, groesse).save(ziel, "PNG")) {
            fehler(u"Das Symbol %1 kann nicht geschrieben werden."_s.arg(ziel));
            return 1;
        }
    }
    return 0;
}
