// Renders every icon and every dialog template of the three resource modules to PNG, so a
// person can check the drawings, the layout and the translations by eye.
// Usage: tensiq-gallery OUTPUT_FOLDER LANGUAGE_LIBRARY_FOLDER

#include "DialogTemplate.h"
#include "DialogUnits.h"
#include "GermanResources.h"
#include "LanguageLibrary.h"
#include "ResourceIcon.h"
#include "ResourceIds.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <map>
#include <optional>

using namespace tensiq;
using namespace tensiq::res;

namespace {

constexpr int kScale = 2;
constexpr int kCaptionHeight = 22;

// The icons the main window puts on its buttons when it opens.
const std::map<int, unsigned> kButtonIcons = {
    {1047, kIconSave}, {1046, kIconShowChart}, {1044, kIconNextRope}, {1040, kIconStart},
    {1, kIconQuit},    {1041, kIconAssistant}, {1001, kIconWrite},    {1002, kIconRead},
};

QColor OutlineOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::IconButton:
    case ControlKind::PushButton:
        return QColor(0, 70, 200);
    case ControlKind::Edit:
        return Qt::black;
    case ControlKind::Static:
        return QColor(0, 140, 60);
    case ControlKind::AutoRadio:
    case ControlKind::AutoCheckBox:
        return QColor(140, 0, 160);
    case ControlKind::GroupBox:
        return QColor(90, 90, 90);
    case ControlKind::ProgressBar:
        return QColor(230, 120, 0);
    case ControlKind::Custom:
        return QColor(220, 0, 0);
    case ControlKind::StaticIcon:
        return QColor(0, 150, 150);
    }
    return Qt::black;
}

int AlignOf(const DialogControl& c) {
    switch (c.align) {
    case Align::Right:
        return Qt::AlignRight;
    case Align::Centre:
        return Qt::AlignHCenter;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

void DrawControl(QPainter& p, const DialogTemplate& dialog, const DialogControl& c, const QRect& r,
                 const ResourceModule* module) {
    const bool hidden = c.Has(kHidden);
    const bool disabled = c.Has(kDisabled);
    QPen pen(OutlineOf(c.kind));
    if (hidden)
        pen.setStyle(Qt::DashLine);
    const QString text = QString::fromUtf8(c.text);
    const QColor textColour = hidden || disabled ? QColor(130, 130, 130) : QColor(0, 0, 0);

    QRect textRect = r.adjusted(2, 1, -2, -1);
    int flags = Qt::TextWordWrap | AlignOf(c) | Qt::AlignTop;
    switch (c.kind) {
    case ControlKind::Edit:
        p.fillRect(r, Qt::white);
        break;
    case ControlKind::IconButton:
    case ControlKind::PushButton: {
        p.fillRect(r, QColor(228, 232, 240));
        flags = Qt::TextWordWrap | Qt::AlignCenter;
        const auto icon = kButtonIcons.find(c.id);
        if (dialog.id == kMainDialog && icon != kButtonIcons.end()) {
            const QImage image = LoadResourceIcon(module, icon->second, 32);
            const int y = r.top() + (r.height() - image.height()) / 2;
            if (text.isEmpty()) {
                p.drawImage(r.left() + (r.width() - image.width()) / 2, y, image);
            } else {
                p.drawImage(r.left() + 3, y, image);
                textRect.setLeft(r.left() + 3 + image.width() + 3);
            }
        }
        break;
    }
    case ControlKind::AutoRadio:
    case ControlKind::AutoCheckBox: {
        const QRect box(r.left() + 1, r.top() + (r.height() - 10) / 2, 10, 10);
        p.setPen(QColor(60, 60, 60));
        if (c.kind == ControlKind::AutoRadio)
            p.drawEllipse(box);
        else
            p.drawRect(box);
        textRect.setLeft(box.right() + 4);
        flags = Qt::AlignVCenter | Qt::AlignLeft;
        break;
    }
    case ControlKind::GroupBox:
        textRect = QRect(r.left() + 6, r.top() - 6, r.width() - 12, 14);
        break;
    case ControlKind::StaticIcon:
        p.drawImage(r.topLeft(), LoadResourceIcon(module, c.iconId, 32));
        break;
    case ControlKind::ProgressBar:
        p.fillRect(r, QColor(255, 244, 230));
        flags = Qt::AlignCenter;
        break;
    default:
        break;
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (!text.isEmpty()) {
        p.setPen(textColour);
        if (c.kind == ControlKind::GroupBox) {
            const QRect used = p.boundingRect(textRect, Qt::AlignLeft, text);
            p.fillRect(used.adjusted(-2, 0, 2, 0), QColor(240, 240, 240));
        }
        p.drawText(textRect, flags, text);
    }
}

QImage RenderDialog(const DialogTemplate& dialog, const ResourceModule* module) {
    const DialogUnits units(dialog);
    const QSize client = units.ClientSize(dialog);
    QImage image((client + QSize(0, kCaptionHeight)) * kScale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(kScale);
    image.fill(QColor(240, 240, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRect(0, 0, client.width(), kCaptionHeight), QColor(0, 40, 120));
    QFont captionFont = units.Font();
    captionFont.setBold(true);
    p.setFont(captionFont);
    p.setPen(Qt::white);
    p.drawText(QRect(8, 0, client.width() - 16, kCaptionHeight), Qt::AlignVCenter,
               QString::fromUtf8(dialog.caption));
    p.translate(0, kCaptionHeight);
    p.setFont(units.Font());
    for (std::size_t i = 0; i < dialog.controlCount; ++i)
        DrawControl(p, dialog, dialog.controls[i], units.ToPixels(dialog.controls[i]), module);
    return image;
}

QImage RenderIconSheet(const ResourceModule* module) {
    constexpr int cell = 32 * 4 + 24;
    const int count = static_cast<int>(module->iconCount);
    QImage sheet(cell * count, cell + 16, QImage::Format_ARGB32);
    sheet.fill(QColor(220, 220, 220));
    QPainter p(&sheet);
    for (int i = 0; i < count; ++i) {
        const Icon& icon = module->icons[i];
        const QImage image = IconImageToQImage(icon.images[0]);
        p.drawImage(QRect(i * cell + 12, 8, 128, 128), image);
        p.drawText(QRect(i * cell, cell - 8, cell, 20), Qt::AlignCenter, QString::number(icon.id));
    }
    return sheet;
}

bool Save(const QImage& image, const QString& path) {
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER LANGUAGE_LIBRARY_FOLDER\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const std::string langDir = argv[2];
    auto en = LanguageLibrary::Open(langDir + "/tq_en.so");
    auto chn = LanguageLibrary::Open(langDir + "/tq_chn.so");
    if (!en || !chn) {
        std::fprintf(stderr, "language libraries not found in %s\n", langDir.c_str());
        return 1;
    }
    const std::pair<const char*, const ResourceModule*> modules[] = {
        {"de", GermanResources()}, {"en", en->Module()}, {"chn", chn->Module()}};
    bool ok = true;
    for (const auto& [name, module] : modules) {
        const QString folder = out + QLatin1Char('/') + QLatin1String(name);
        QDir().mkpath(folder);
        for (std::size_t i = 0; i < module->iconCount; ++i) {
            const Icon& icon = module->icons[i];
            for (std::size_t k = 0; k < icon.imageCount; ++k) {
                const IconImage& image = icon.images[k];
                const QString file =
                    QStringLiteral("%1/icon_%2_%3.png").arg(folder).arg(icon.id).arg(image.width);
                ok &= Save(IconImageToQImage(image), file);
            }
        }
        ok &= Save(RenderIconSheet(module), folder + QStringLiteral("/icons.png"));
        for (std::size_t i = 0; i < module->dialogCount; ++i) {
            const DialogTemplate& dialog = module->dialogs[i];
            ok &= Save(RenderDialog(dialog, module),
                       QStringLiteral("%1/dialog_%2.png").arg(folder).arg(dialog.id));
        }
    }
    std::printf("gallery written to %s\n", qPrintable(out));
    return ok ? 0 : 1;
}
