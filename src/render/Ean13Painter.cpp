#include "render/Ean13Painter.h"

#include <QPainter>

#include <cstring>

#include "render/FontMapping.h"
#include "render/RenderParts.h"
#include "render/SymbolCache.h"
#include "res/Texts.h"
#include "res/UiText.h"

namespace etiqo {

namespace {

constexpr int kModules = 95;
constexpr int kHalf = kModules / 2;  // module 47 starts the right half

bool IsGuard(int module) {
    return module == 0 || module == 2 || module == 46 || module == 48 || module == 92 || module == 94;
}

TextFont DigitFont(int cellHeight) {
    LOGFONTA logFont{};
    logFont.lfHeight = cellHeight;
    logFont.lfWeight = 400;
    logFont.lfPitchAndFamily = 0x20;
    std::memcpy(logFont.lfFaceName, "Consolas", sizeof "Consolas");
    return FontFromLogFont(logFont, QString(), 0);
}

}  // namespace

void PaintEan13(QPainter& painter, const Ean13Code& code, const QRect& rect) {
    const int left = rect.left();
    const int top = rect.top();
    const int bottom = top + rect.height();
    const int w = rect.width();
    painter.fillRect(rect, Qt::white);

    const int m = w / (kModules + 7);
    const int spare = w % (kModules + 7);
    int spareLeft = spare / 2;
    int spareRight = spare - spare / 2;

    int shift = 0;
    int x47 = 0;
    int x94 = 0;
    for (int i = 0; i < kModules && i < static_cast<int>(code.m_strModules.size()); ++i) {
        const int x = left + 7 * m + i * m;
        if (i == kHalf) {
            x47 = x + shift;
        }
        if (i == kModules - 1) {
            x94 = x + shift;
        }
        int widened = 0;
        int& spareHere = i < kHalf ? spareLeft : spareRight;
        if (spareHere > 0) {
            --spareHere;
            ++shift;
            widened = 1;
        }
        const int barWidth = m + widened;
        const int barHeight = bottom - (IsGuard(i) ? 3 * m : 10 * m) - top;
        if (code.m_strModules[static_cast<std::size_t>(i)] == '1' && barWidth > 0 && barHeight > 0) {
            painter.fillRect(QRect(x + shift, top, barWidth, barHeight), Qt::black);
        }
    }

    const TextFont font = DigitFont(7 * (spare > 0 ? m + 1 : m));
    painter.setFont(font.font);
    painter.setPen(Qt::black);
    const QString digits =
        QString::fromLatin1(code.m_strDigits.data(), static_cast<qsizetype>(code.m_strDigits.size()));
    const int bandTop = bottom - 10 * m;
    const auto band = [&](int from, int to) { return QRect(from, bandTop, to - from, bottom - bandTop); };
    painter.drawText(band(left, left + 7 * m), Qt::AlignRight | Qt::AlignVCenter, digits.left(1));
    painter.drawText(band(left + 10 * m, x47), Qt::AlignHCenter | Qt::AlignVCenter, digits.mid(1, 6));
    painter.drawText(band(x47, x94), Qt::AlignHCenter | Qt::AlignVCenter, digits.mid(7, 6));
}

void DrawEan13Element(const RenderContext& context, Element& element, int turn) {
    QPainter& painter = context.painter;
    const DeviceBox box = ComputeDeviceBox(context, element);
    const QRect rect(box.left, box.top, box.width, box.height);
    DeviceBox drawn = box;
    const QTransform saved = painter.worldTransform();
    if (turn != 0) {
        const RotatedBox rotated = ComputeRotatedBox(context, element, turn);
        drawn = rotated.box;
        painter.setWorldTransform(TurnAbout(turn, rotated.cx, rotated.cy), true);
    }
    if (box.width > 0 && box.height > 0) {
        const std::optional<Ean13Code> code = Ean13Code::Encode(ContentBytes(element));
        if (code) {
            PaintEan13(painter, *code, rect);
        } else {
            if (!context.bPrinting) {
                DrawUnencodable(painter, rect, RecordText(ContentBytes(element)));
            }
            if (context.warn) {
                context.warn(UiText(TextId::RenderCannotEncode)
                                 .arg(RecordText(ContentBytes(element)), QStringLiteral("EAN-13"))
                                 .toStdString());
            }
        }
    }
    painter.setWorldTransform(saved);
    if (WantsGrips(context, element)) {
        DrawGrips(painter, element, drawn.left, drawn.top, drawn.width, drawn.height, 4,
                  turn == 0 ? GripMiddle::Barcode : GripMiddle::Half);
    }
}

}  // namespace etiqo
