#pragma once
// Pictures as tests: what a user sees, compared with a reference image in references/. Drawn with
// the fonts the package depends on and no other; TALLYROLL_UPDATE_REFERENCES=1
// (scripts/update-references.sh) writes the renderings as the new references instead.
#include <QtTest>

// Before the application starts: fontconfig reads only the package's fonts.
inline const bool kFontsPinned = qputenv("FONTCONFIG_FILE", TALLYROLL_TESTS "/fonts.conf");

// A pixel differs when a channel is off by more than this (a shade of an anti-aliased edge).
constexpr int kShadeTolerance = 24;

// Empty when `picture` matches the reference `name`; otherwise how it differs, with the actual and a
// difference image (differing pixels red over a faded copy) written beside the test's output.
inline QString pictureDifference(const QImage& picture, const QString& name) {
    const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    const QString reference = TALLYROLL_REFERENCES "/" + name + ".png";
    if (qEnvironmentVariableIsSet("TALLYROLL_UPDATE_REFERENCES"))
        return actual.save(reference) ? QString() : "cannot write " + reference;
    const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
    QImage diff = actual;
    int count = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.valid(x, y) ? expected.pixel(x, y) : ~a;
            const int off = std::max({qAbs(qRed(a) - qRed(e)), qAbs(qGreen(a) - qGreen(e)), qAbs(qBlue(a) - qBlue(e))});
            const int faded = 128 + qGray(a) / 2;
            count += off > kShadeTolerance ? 1 : 0;
            diff.setPixel(x, y, off > kShadeTolerance ? qRgb(255, 0, 0) : qRgb(faded, faded, faded));
        }
    if (count == 0 && expected.size() == actual.size())
        return {};
    const QString out = TALLYROLL_PICTURE_OUT "/" + name;
    actual.save(out + ".actual.png");
    diff.save(out + ".diff.png");
    auto size = [](const QImage& image) { return QString("%1x%2").arg(image.width()).arg(image.height()); };
    return QString("%1 (%2) differs from %3 (%4) in %5 pixels; see %6.actual.png and %6.diff.png")
        .arg(name, size(actual), reference, size(expected), QString::number(count), out);
}

#define COMPARE_PICTURE(image, name)                                                                                   \
    do {                                                                                                               \
        const QString difference = pictureDifference(image, name);                                                     \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                                                        \
    } while (false)
