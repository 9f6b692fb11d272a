#include "DC.h"
#include "DcPainter.h"

#include "DcHandle.h"
#include "platform/gui/base/GbkString.h"

#include <QByteArray>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPair>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace dcimpl;

namespace {

std::string Bytes(LPCTSTR text, int count) {
    if (!text)
        return std::string();
    const size_t length = std::strlen(text);
    const size_t n = count < 0 ? length : std::min(length, static_cast<size_t>(count));
    return std::string(text, n);
}

// A line of text with the positions of the characters its prefixes underline.
struct TextLine {
    QString text;
    std::vector<int> underlines;
};

TextLine StripPrefixes(const QString& text) {
    TextLine line;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                line.text += QLatin1Char('&');
                ++i;
                continue;
            }
            if (i + 1 < text.size())
                line.underlines.push_back(static_cast<int>(line.text.size()));
            continue;
        }
        line.text += text[i];
    }
    return line;
}

// What is known of a font's text widths without shaping the text, the costly part of drawing it: the advance
// of each printable ASCII character, measured once, and the lines already measured for an ellipsis.
struct FontMeasures {
    QFont font;
    std::array<int, 95> ceiled{};  // rounded up
    std::array<qreal, 95> exact{}; // as shaping places them, kerning aside
    // A line measured in a width: how much of it stays before "..." (-1: all of it, without dots) and its
    // advance then. A window repainting its cells asks about the same lines again and again.
    struct Fit {
        int keep;
        int advance;
    };
    QHash<QPair<QString, int>, Fit> fits;
    // The advances of texts measured whole: a window draws the same captions and cells again and again, and
    // measuring shapes the text, the costly part of drawing it.
    QHash<QString, int> advances;
    // Texts laid out in lines, by their bytes, width and format, and lines shaped for drawing.
    struct Layout {
        std::vector<TextLine> lines;
        std::vector<int> advances;
    };
    QHash<QByteArray, Layout> layouts;
    struct Shaped {
        QList<QGlyphRun> runs;
        qreal ascent = 0;
    };
    QHash<QString, Shaped> shaped;
};

// Kept for a few fonts; each keeps a few thousand lines before it starts over.
constexpr size_t kMeasuredFonts = 16;
constexpr qsizetype kMeasuredLines = 4096;

FontMeasures& MeasuresOf(const QFont& font) {
    static auto* fonts = new std::vector<std::unique_ptr<FontMeasures>>; // never freed, as fonts are
    for (const auto& entry : *fonts)
        if (entry->font == font)
            return *entry;
    auto entry = std::make_unique<FontMeasures>();
    entry->font = font;
    const QFontMetricsF fm(font);
    for (int c = 0x20; c <= 0x7E; ++c) {
        const qreal advance = fm.horizontalAdvance(QChar(static_cast<char16_t>(c)));
        entry->exact[static_cast<size_t>(c - 0x20)] = advance;
        entry->ceiled[static_cast<size_t>(c - 0x20)] = static_cast<int>(std::ceil(advance));
    }
    if (fonts->size() >= kMeasuredFonts)
        fonts->erase(fonts->begin());
    fonts->push_back(std::move(entry));
    return *fonts->back();
}

// A text's advance in the font, measured once while it is kept.
int AdvanceOf(FontMeasures& measures, const QString& text, const QFontMetrics& fm) {
    if (const auto known = measures.advances.constFind(text); known != measures.advances.constEnd())
        return known.value();
    const int advance = fm.horizontalAdvance(text);
    if (measures.advances.size() >= kMeasuredLines)
        measures.advances.clear();
    measures.advances.insert(text, advance);
    return advance;
}

// A line shaped once for drawing while it is kept: what drawing it again on a raster device repeats exactly.
const FontMeasures::Shaped& ShapedOf(FontMeasures& measures, const QString& text) {
    if (const auto known = measures.shaped.constFind(text); known != measures.shaped.constEnd())
        return known.value();
    QTextLayout layout(text, measures.font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(kFar);
    layout.endLayout();
    if (measures.shaped.size() >= kMeasuredLines)
        measures.shaped.clear();
    return measures.shaped.insert(text, FontMeasures::Shaped{layout.glyphRuns(), line.ascent()}).value();
}

bool IsWide(QChar c) { return c.unicode() >= 0x2E80; }

// Breaks a line into lines no wider than width at spaces and between wide characters; a word wider than the
// width stands alone on its line.
std::vector<TextLine> WordBreak(const TextLine& para, int width, const QFontMetrics& fm, FontMeasures& measures) {
    std::vector<TextLine> lines;
    const QString& s = para.text;
    // Token ends: after a run of spaces, or around a wide character.
    std::vector<int> ends;
    for (int i = 0; i < s.size();) {
        int j = i;
        if (IsWide(s[j]))
            ++j;
        else
            while (j < s.size() && !IsWide(s[j]) && s[j] != QLatin1Char(' '))
                ++j;
        while (j < s.size() && s[j] == QLatin1Char(' '))
            ++j;
        if (j == i)
            ++j;
        ends.push_back(j);
        i = j;
    }
    auto trimmedWidth = [&](int from, int to) {
        int end = to;
        while (end > from && s[end - 1] == QLatin1Char(' '))
            --end;
        return AdvanceOf(measures, s.mid(from, end - from), fm);
    };
    int start = 0;
    size_t t = 0;
    while (t < ends.size()) {
        size_t last = t; // at least one token per line
        while (last + 1 < ends.size() && trimmedWidth(start, ends[last + 1]) <= width)
            ++last;
        int end = ends[last];
        int shown = end;
        while (shown > start && s[shown - 1] == QLatin1Char(' '))
            --shown;
        TextLine line;
        line.text = s.mid(start, shown - start);
        for (int u : para.underlines)
            if (u >= start && u < shown)
                line.underlines.push_back(u - start);
        lines.push_back(line);
        start = end;
        t = last + 1;
    }
    if (lines.empty())
        lines.push_back(TextLine{});
    return lines;
}

// The width of a text of printable ASCII characters, rounded up per character, with a pixel to spare for each
// (kerning and hinting move glyphs by less), or -1 for other text. Never below what shaping measures.
int AsciiBound(const QString& text, const FontMeasures& measures) {
    int bound = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7E)
            return -1;
        bound += measures.ceiled[static_cast<size_t>(u - 0x20)] + 1;
    }
    return bound;
}

bool IsPrintableAscii(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; });
}

// Whether a line may be wider than width, so that it has to be measured.
bool MayOverflow(const QString& text, int width, const QFont& font) {
    if (!IsPrintableAscii(text))
        return true;
    return AsciiBound(text, MeasuresOf(font)) > width;
}

// How much of a line wider than width stays before "...": the most characters that fit with the dots, as trying
// them from the longest down finds it (a text with a character more never draws narrower), found in a few
// measurements: from an estimate, steps doubling until the answer is bracketed, then halving.
FontMeasures::Fit ShortenedFit(const QString& text, int width, const QFontMetrics& fm, const FontMeasures& measures) {
    const QString dots = QStringLiteral("...");
    // The lengths that may be kept, shortest first: one character less each time, never cutting a surrogate pair.
    std::vector<int> cuts;
    for (int keep = static_cast<int>(text.size());;) {
        cuts.push_back(keep);
        if (keep == 0)
            break;
        --keep;
        if (keep > 0 && text[keep - 1].isHighSurrogate())
            --keep;
    }
    std::reverse(cuts.begin(), cuts.end());
    std::vector<int> advances(cuts.size(), -1);
    auto fits = [&](size_t i) {
        if (cuts[i] == 0)
            return true;
        if (advances[i] < 0)
            advances[i] = fm.horizontalAdvance(text.left(cuts[i]) + dots);
        return advances[i] <= width;
    };
    // The whole line does not fit (the caller measured it), and with the dots it is wider still.
    size_t lo = 0;               // fits
    size_t hi = cuts.size() - 1; // does not fit
    {
        size_t guess = hi / 2;
        if (IsPrintableAscii(text) && cuts.size() == static_cast<size_t>(text.size()) + 1) {
            // ASCII: one cut per character, and the characters' own advances say about where it falls.
            qreal used = 3 * measures.exact[static_cast<size_t>('.' - 0x20)];
            guess = 0;
            while (guess + 1 < hi) {
                used += measures.exact[static_cast<size_t>(text[static_cast<int>(guess)].unicode() - 0x20)];
                if (used > width)
                    break;
                ++guess;
            }
        }
        guess = std::clamp<size_t>(guess, 1, hi > 1 ? hi - 1 : 1);
        if (guess < hi) {
            size_t step = 1;
            if (fits(guess)) {
                lo = guess;
                while (lo + step < hi && fits(lo + step)) {
                    lo += step;
                    step *= 2;
                }
                hi = std::min(hi, lo + step);
            } else {
                hi = guess;
                while (hi > lo + step && !fits(hi - step)) {
                    hi -= step;
                    step *= 2;
                }
                lo = hi > lo + step ? hi - step : lo;
            }
        }
        while (hi - lo > 1) {
            const size_t mid = lo + (hi - lo) / 2;
            if (fits(mid))
                lo = mid;
            else
                hi = mid;
        }
    }
    const int keep = cuts[lo];
    return {keep, advances[lo] >= 0 ? advances[lo] : fm.horizontalAdvance(text.left(keep) + dots)};
}

// Shortens a line that is wider than width to what fits before "..."; returns the line's advance afterwards.
// Measuring shapes the text, the costly part of drawing it, so the caller keeps the advance.
int EndEllipsis(TextLine& line, int width, const QFontMetrics& fm, const QFont& font) {
    const QString dots = QStringLiteral("...");
    FontMeasures& measures = MeasuresOf(font);
    const QPair<QString, int> key(line.text, width);
    FontMeasures::Fit fit{-1, 0};
    if (const auto known = measures.fits.constFind(key); known != measures.fits.constEnd()) {
        fit = known.value();
    } else {
        fit.advance = fm.horizontalAdvance(line.text);
        if (fit.advance > width)
            fit = ShortenedFit(line.text, width, fm, measures);
        if (measures.fits.size() >= kMeasuredLines)
            measures.fits.clear();
        measures.fits.insert(key, fit);
    }
    if (fit.keep < 0)
        return fit.advance;
    const int keep = fit.keep;
    line.text = line.text.left(keep) + dots;
    line.underlines.erase(
        std::remove_if(line.underlines.begin(), line.underlines.end(), [keep](int u) { return u >= keep; }),
        line.underlines.end());
    return fit.advance;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Text.

namespace {

// Draws lines of text at logical positions in the DC's text colour, with the background filled behind each
// line when the mode is opaque; clipped to a device rectangle when one is given. The advances are the lines'
// own where known, -1 where not.
void DrawLines(HDC__* dc, const TextLine* lines, const QPoint* origins, const int* advances, size_t count,
               const QFontMetrics& fm, const QRect* clip, bool textToo, bool underlines) {
    Scope s(dc, nullptr, clip);
    if (!s)
        return;
    const QTransform transform = dc->Transform();
    s.SetTransform(transform);
    const QFont font = FontOf(dc);
    s.SetFont(font);
    // On a raster device, unscaled, a line shaped before draws the very pixels that shaping it again would.
    FontMeasures* measures = s.Raster() && transform.type() <= QTransform::TxTranslate && !font.underline() &&
                                     !font.strikeOut() && !font.overline()
                                 ? &MeasuresOf(font)
                                 : nullptr;
    const QColor text = ToQColor(dc->state.textColor);
    for (size_t i = 0; i < count; ++i) {
        const TextLine& line = lines[i];
        const QPoint at = origins[i];
        if (dc->state.bkMode == OPAQUE && textToo) {
            const int advance = advances && advances[i] >= 0 ? advances[i] : fm.horizontalAdvance(line.text);
            s->fillRect(QRect(at.x(), at.y(), advance, fm.height()), ToQColor(dc->state.bkColor));
        }
        s->setPen(text);
        if (textToo && measures) {
            const FontMeasures::Shaped& shaped = ShapedOf(*measures, line.text);
            const QPointF origin(at.x(), at.y() + fm.ascent() - shaped.ascent);
            for (const QGlyphRun& run : shaped.runs)
                s->drawGlyphRun(origin, run);
        } else if (textToo) {
            s->drawText(QPoint(at.x(), at.y() + fm.ascent()), line.text);
        }
        if (underlines)
            for (int u : line.underlines) {
                const int x0 = at.x() + fm.horizontalAdvance(line.text.left(u));
                const int w = fm.horizontalAdvance(line.text.mid(u, 1));
                s->fillRect(QRect(x0, at.y() + fm.ascent() + 1, w, std::max(1, fm.lineWidth())), text);
            }
    }
}

std::string_view BytesView(LPCTSTR text, int count) {
    if (!text)
        return std::string_view();
    const size_t length = std::strlen(text);
    return std::string_view(text, count < 0 ? length : std::min(length, static_cast<size_t>(count)));
}

bool Elides(UINT format) { return (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0; }

// One line without prefixes, as a cell draws its text: what the general path below does for it, with nothing
// measured that the line's place and look do not need.
int DrawOneLine(HDC__* dc, std::string_view bytes, LPRECT rect, UINT format) {
    TextLine line{GbkToQString(bytes), {}};
    const QFont& font = FontOf(dc);
    const QFontMetrics fm(font);
    const int lineHeight = fm.height() + ((format & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
    const int width = static_cast<int>(std::clamp<int64_t>(int64_t(rect->right) - rect->left, -kFar, kFar));
    int advance = -1;
    if (Elides(format) && MayOverflow(line.text, width, font))
        advance = EndEllipsis(line, width, fm, font);
    if (advance < 0 && (format & (DT_CENTER | DT_RIGHT)))
        advance = AdvanceOf(MeasuresOf(font), line.text, fm);

    int top = rect->top;
    int result = lineHeight;
    if (format & (DT_VCENTER | DT_BOTTOM)) {
        const int height = static_cast<int>(std::clamp<int64_t>(int64_t(rect->bottom) - rect->top, -kFar, kFar));
        const int offset = (format & DT_BOTTOM) ? height - lineHeight : (height - lineHeight) / 2;
        top = Sum(top, offset);
        result = offset + lineHeight;
    }
    int64_t x = rect->left;
    if (format & DT_CENTER)
        x += (width - advance) / 2;
    else if (format & DT_RIGHT)
        x += width - advance;
    const QPoint origin(Sum(x, 0), Sum(top, 0));
    const QRect clip = DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    DrawLines(dc, &line, &origin, &advance, 1, fm, (format & DT_NOCLIP) ? nullptr : &clip, true, false);
    return result;
}

// A text in lines as DrawText shows it in a width: paragraphs, prefixes taken out, words broken and lines cut
// before an ellipsis as the format asks, with each line's advance; laid out once while it is kept.
const FontMeasures::Layout& LayoutOf(FontMeasures& measures, std::string_view bytes, int width, UINT format,
                                     const QFontMetrics& fm) {
    QByteArray key(bytes.data(), static_cast<qsizetype>(bytes.size()));
    key.append('\0').append(reinterpret_cast<const char*>(&width), sizeof width);
    key.append(reinterpret_cast<const char*>(&format), sizeof format);
    if (const auto known = measures.layouts.constFind(key); known != measures.layouts.constEnd())
        return known.value();

    const QString all = GbkToQString(bytes);
    const bool single = format & DT_SINGLELINE;
    std::vector<QString> paragraphs;
    if (single) {
        paragraphs.push_back(all);
    } else {
        QString current;
        for (int i = 0; i < all.size(); ++i) {
            if (all[i] == QLatin1Char('\r') || all[i] == QLatin1Char('\n')) {
                if (all[i] == QLatin1Char('\r') && i + 1 < all.size() && all[i + 1] == QLatin1Char('\n'))
                    ++i;
                paragraphs.push_back(current);
                current.clear();
            } else {
                current += all[i];
            }
        }
        paragraphs.push_back(current);
    }
    FontMeasures::Layout layout;
    std::vector<TextLine>& lines = layout.lines;
    for (const QString& p : paragraphs) {
        const TextLine para = (format & DT_NOPREFIX) ? TextLine{p, {}} : StripPrefixes(p);
        if ((format & DT_WORDBREAK) && !single) {
            for (TextLine& l : WordBreak(para, width, fm, measures))
                lines.push_back(std::move(l));
        } else {
            lines.push_back(para);
        }
    }
    layout.advances.assign(lines.size(), -1);
    if (!(format & DT_CALCRECT) && Elides(format))
        for (size_t i = 0; i < lines.size(); ++i)
            if (MayOverflow(lines[i].text, width, measures.font))
                layout.advances[i] = EndEllipsis(lines[i], width, fm, measures.font);
    for (size_t i = 0; i < lines.size(); ++i)
        if (layout.advances[i] < 0)
            layout.advances[i] = AdvanceOf(measures, lines[i].text, fm);
    if (measures.layouts.size() >= kMeasuredLines)
        measures.layouts.clear();
    return measures.layouts.insert(key, std::move(layout)).value();
}

} // namespace

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
    HDC__* dc = Live(m_hDC);
    if (!dc || !rect)
        return 0;
    if ((format & DT_SINGLELINE) && (format & DT_NOPREFIX) && !(format & DT_CALCRECT))
        return DrawOneLine(dc, BytesView(text, count), rect, format);
    const QFont& font = FontOf(dc);
    const QFontMetrics fm(font);
    FontMeasures& measures = MeasuresOf(font);
    const int lineHeight = fm.height() + ((format & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);
    const int width = static_cast<int>(std::clamp<int64_t>(int64_t(rect->right) - rect->left, -kFar, kFar));
    const bool single = format & DT_SINGLELINE;
    const bool calc = format & DT_CALCRECT;
    const FontMeasures::Layout& layout = LayoutOf(measures, BytesView(text, count), width, format, fm);
    const std::vector<TextLine>& lines = layout.lines;
    const int total = lineHeight * static_cast<int>(lines.size());

    if (calc) {
        int widest = 0;
        for (size_t i = 0; i < lines.size(); ++i)
            widest = std::max(widest, layout.advances[i]);
        rect->right = Sum(rect->left, widest);
        rect->bottom = Sum(rect->top, total);
        return total;
    }

    int top = rect->top;
    int result = total;
    if (single && (format & (DT_VCENTER | DT_BOTTOM))) {
        const int height = static_cast<int>(std::clamp<int64_t>(int64_t(rect->bottom) - rect->top, -kFar, kFar));
        const int offset = (format & DT_BOTTOM) ? height - lineHeight : (height - lineHeight) / 2;
        top = Sum(top, offset);
        result = offset + lineHeight;
    }
    std::vector<QPoint> origins;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int w = layout.advances[i];
        int64_t x = rect->left;
        if (format & DT_CENTER)
            x += (width - w) / 2;
        else if (format & DT_RIGHT)
            x += width - w;
        origins.emplace_back(Sum(x, 0), Sum(top, int64_t(i) * lineHeight));
    }
    const QRect clip = DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    const bool prefixOnly = (format & DT_PREFIXONLY) && !(format & DT_NOPREFIX);
    const bool underline = !(format & DT_NOPREFIX) && !(format & DT_HIDEPREFIX);
    DrawLines(dc, lines.data(), origins.data(), layout.advances.data(), lines.size(), fm,
              (format & DT_NOCLIP) ? nullptr : &clip, !prefixOnly, underline);
    return result;
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(text.Str().c_str(), text.GetLength(), rect, format);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) {
    HDC__* dc = Live(m_hDC);
    if (!dc)
        return FALSE;
    return ExtTextOut(x, y, 0, nullptr, text, count < 0 ? 0 : static_cast<UINT>(count), nullptr);
}

BOOL CDC::TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* widths) {
    HDC__* dc = Live(m_hDC);
    if (!dc || (widths && text && count > 0))
        return FALSE;
    if (rect && (options & ETO_OPAQUE)) {
        Scope s(dc);
        if (s)
            s->fillRect(DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom), ToQColor(dc->state.bkColor));
    }
    const std::string bytes = Bytes(text, static_cast<int>(std::min<UINT>(count, INT32_MAX)));
    if (bytes.empty())
        return TRUE;
    const QFont& font = FontOf(dc);
    const QFontMetrics fm(font);
    TextLine line{GbkToQString(bytes), {}};
    const int w = AdvanceOf(MeasuresOf(font), line.text, fm);
    const UINT align = dc->state.textAlign;
    QPoint at = (align & TA_UPDATECP) ? dc->state.position : QPoint(x, y);
    if ((align & TA_CENTER) == TA_CENTER)
        at.rx() -= w / 2;
    else if (align & TA_RIGHT)
        at.rx() -= w;
    if ((align & TA_BASELINE) == TA_BASELINE)
        at.ry() -= fm.ascent();
    else if (align & TA_BOTTOM)
        at.ry() -= fm.height();
    if (align & TA_UPDATECP)
        dc->state.position.rx() += ((align & TA_CENTER) == TA_CENTER || !(align & TA_RIGHT)) ? w : -w;
    QRect clip;
    if (rect && (options & ETO_CLIPPED))
        clip = DeviceRect(dc, rect->left, rect->top, rect->right, rect->bottom);
    DrawLines(dc, &line, &at, &w, 1, fm, (rect && (options & ETO_CLIPPED)) ? &clip : nullptr, true, false);
    return TRUE;
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const int* widths) {
    return ExtTextOut(x, y, options, rect, text, static_cast<UINT>(text.GetLength()), widths);
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
    HDC__* dc = Live(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc)
        return CSize();
    const QFont& font = FontOf(dc);
    const QFontMetrics fm(font);
    return CSize(AdvanceOf(MeasuresOf(font), GbkToQString(Bytes(text, count)), fm), fm.height());
}

CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }

BOOL CDC::GetTextMetrics(LPTEXTMETRIC metrics) const {
    HDC__* dc = Live(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc || !metrics)
        return FALSE;
    const HFONT__* font = dc->state.font ? dc->state.font : DefaultFont();
    const QFontMetrics fm(font->font);
    TEXTMETRIC tm{};
    tm.tmHeight = fm.height();
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmInternalLeading = std::max(0, fm.height() - QFontInfo(font->font).pixelSize());
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    tm.tmWeight = font->log.lfWeight ? font->log.lfWeight : FW_NORMAL;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = dc->DpiX();
    tm.tmDigitizedAspectY = dc->DpiY();
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = '?';
    tm.tmBreakChar = ' ';
    tm.tmItalic = font->log.lfItalic;
    tm.tmUnderlined = font->log.lfUnderline;
    tm.tmStruckOut = font->log.lfStrikeOut;
    // The platform sets the low bit for a variable pitch font; 0x06 adds vector and TrueType.
    tm.tmPitchAndFamily = static_cast<BYTE>((QFontInfo(font->font).fixedPitch() ? 0 : 1) | 0x06 | FF_SWISS);
    tm.tmCharSet = font->log.lfCharSet;
    *metrics = tm;
    return TRUE;
}

int CDC::GetTextFace(int count, LPTSTR faceName) const {
    HDC__* dc = Live(m_hAttribDC ? m_hAttribDC : m_hDC);
    if (!dc || !faceName || count <= 0)
        return 0;
    const HFONT__* font = dc->state.font ? dc->state.font : DefaultFont();
    const size_t n = std::min(strnlen(font->log.lfFaceName, LF_FACESIZE), static_cast<size_t>(count - 1));
    std::memcpy(faceName, font->log.lfFaceName, n);
    faceName[n] = '\0';
    return static_cast<int>(n);
}
