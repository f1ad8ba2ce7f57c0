#pragma once
// Reads back what a PDF page draws: the page boxes and the straight
// segments of its content streams, in page points (origin bottom left).
// Enough for the PDFs Qt writes; not a general PDF reader.
#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>
#include <zlib.h>

struct PdfSegment {
    double x1, y1, x2, y2;
};

struct PdfPage {
    int pages = 0;
    double width = 0, height = 0; // MediaBox, points
    QByteArray content;           // all page content, decompressed
    // The clip rectangle the drawing is confined to, in points.
    double clipLeft = 0, clipBottom = 0, clipRight = 0, clipTop = 0;
    std::vector<PdfSegment> segments;
};

inline QByteArray inflateStream(const QByteArray& data)
{
    QByteArray out;
    z_stream z {};
    if (inflateInit(&z) != Z_OK)
        return out;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    char buffer[1 << 16];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

// Runs the content's path operators: "a b c d e f cm" with q/Q, "x y m",
// "x y l"; the straight pieces of every stroked path ("S") are segments,
// those of a clip path (ended by "n") are not.
inline void collectSegments(PdfPage& page)
{
    std::array<double, 6> ctm { 1, 0, 0, 1, 0, 0 };
    std::vector<std::array<double, 6>> saved;
    std::vector<double> operands;
    std::vector<PdfSegment> path;
    double mx = 0, my = 0;
    auto apply = [&](double x, double y) {
        return std::pair { ctm[0] * x + ctm[2] * y + ctm[4], ctm[1] * x + ctm[3] * y + ctm[5] };
    };
    const QList<QByteArray> tokens = page.content.simplified().split(' ');
    for (const QByteArray& t : tokens) {
        bool number = false;
        const double v = t.toDouble(&number);
        if (number) {
            operands.push_back(v);
            continue;
        }
        if (t == "q") {
            saved.push_back(ctm);
        } else if (t == "Q" && !saved.empty()) {
            ctm = saved.back();
            saved.pop_back();
        } else if (t == "cm" && operands.size() >= 6) {
            const double* m = &operands[operands.size() - 6];
            const std::array<double, 6> c = ctm;
            ctm = { m[0] * c[0] + m[1] * c[2], m[0] * c[1] + m[1] * c[3], m[2] * c[0] + m[3] * c[2],
                m[2] * c[1] + m[3] * c[3], m[4] * c[0] + m[5] * c[2] + c[4], m[4] * c[1] + m[5] * c[3] + c[5] };
        } else if (t == "m" && operands.size() >= 2) {
            std::tie(mx, my) = apply(operands[operands.size() - 2], operands.back());
        } else if (t == "l" && operands.size() >= 2) {
            const auto [x, y] = apply(operands[operands.size() - 2], operands.back());
            path.push_back({ mx, my, x, y });
            mx = x, my = y;
        } else if (t == "S") {
            page.segments.insert(page.segments.end(), path.begin(), path.end());
            path.clear();
        } else if (t == "n") {
            if (!path.empty()) {
                page.clipLeft = page.clipBottom = 1e9;
                page.clipRight = page.clipTop = -1e9;
            }
            for (const PdfSegment& p : path) {
                page.clipLeft = std::min({ page.clipLeft, p.x1, p.x2 });
                page.clipRight = std::max({ page.clipRight, p.x1, p.x2 });
                page.clipBottom = std::min({ page.clipBottom, p.y1, p.y2 });
                page.clipTop = std::max({ page.clipTop, p.y1, p.y2 });
            }
            path.clear();
        }
        operands.clear();
    }
}

inline PdfPage readPdf(const QString& path)
{
    PdfPage page;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return page;
    const QByteArray pdf = file.readAll();
    page.pages = int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "));
    const QRegularExpression box(R"(/MediaBox \[\s*([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s+([-\d.]+)\s*\])");
    if (const auto m = box.match(QString::fromLatin1(pdf)); m.hasMatch()) {
        page.width = m.captured(3).toDouble() - m.captured(1).toDouble();
        page.height = m.captured(4).toDouble() - m.captured(2).toDouble();
    }
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at)) {
        const qsizetype begin = at + 7;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0)
            break;
        const qsizetype dict = pdf.lastIndexOf("<<", at);
        const QByteArray header = pdf.mid(dict, at - dict);
        QByteArray data = pdf.mid(begin, end - begin);
        if (header.contains("/FlateDecode"))
            data = inflateStream(data);
        if (!header.contains("/Subtype") && !header.contains("/Type /Metadata"))
            page.content += data + '\n';
        at = end + 9;
    }
    collectSegments(page);
    return page;
}
