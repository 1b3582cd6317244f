// The delivery-note template file (fr3/vaha1.fr3) on arbitrary bytes: reading it, writing it
// back as the designer does, and preparing and drawing the note of one ticket from it.
#include "report/expression.h"
#include "report/render.h"
#include "report/reportdocument.h"
#include "report/templatefile.h"
#include "util/error.h"

#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace vaha::report;

// A broken promise: say which one (and the text that shows it), then stop as a crash.
[[noreturn]] void broken(const char* what, const QByteArray& detail = {}) {
    std::fprintf(stderr, "fuzz_template: %s\n%s\n", what, detail.constData());
    __builtin_trap();
}

// One ticket, as the report query delivers it.
class Ticket : public DataSet {
public:
    QStringList fieldNames() const override {
        return {QStringLiteral("CISLODOKLA"), QStringLiteral("DATUM"), QStringLiteral("NETTO"),
                QStringLiteral("NAZEVPODNI"), QStringLiteral("CERTIFIKAT3")};
    }
    std::optional<Value> field(QStringView name) const override {
        if (name.compare(u"CISLODOKLA", Qt::CaseInsensitive) == 0)
            return Value::ofNumber(57);
        if (name.compare(u"DATUM", Qt::CaseInsensitive) == 0)
            return Value::ofDate(45796);
        if (name.compare(u"NETTO", Qt::CaseInsensitive) == 0)
            return Value::ofNumber(24.35);
        if (name.compare(u"NAZEVPODNI", Qt::CaseInsensitive) == 0)
            return Value::ofText(QStringLiteral("AGRO Hodonín s.r.o."));
        if (name.compare(u"CERTIFIKAT3", Qt::CaseInsensitive) == 0)
            return Value::null();
        return std::nullopt;
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Fonts need the application object; the offscreen platform needs no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ReportTemplate report;
    try {
        report = parseTemplate(bytes, QStringLiteral("vaha1.fr3"));
    } catch (const vaha::Error&) {
        return 0; // refused with a message naming the file and line
    }

    // What the designer saves must read back as the same template, and save the same again.
    const QByteArray saved = serializeTemplate(report);
    ReportTemplate again;
    try {
        again = parseTemplate(saved);
    } catch (const vaha::Error& e) {
        broken("the saved template does not read back", e.message().toUtf8() + '\n' + saved);
    }
    if (serializeTemplate(again) != saved)
        broken("the saved template saves differently", saved);

    static const Ticket ticket;
    EvalContext context;
    context.dataSets.push_back({QStringLiteral("frxDBDataset1"), &ticket});
    QStringList errors;
    const PreparedReport prepared = prepareReport(report, context, errors);
    QImage image(40, 60, QImage::Format_RGB32);
    for (const PreparedPage& page : prepared.pages) {
        QPainter painter(&image);
        renderPage(painter, page, 0.2);
    }
    return 0;
}
