#pragma once

#include "report/template.h"
#include "util/datetimevalue.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Values in square brackets inside a text object: a column of a data set
// ([frxDBDataset1."NETTO"]), a variable ([cer1]), number and text constants, and the four
// arithmetic operators with parentheses ([frxDBDataset1."NETTO" / 1000]).
namespace vaha::report {

struct Value {
    enum class Kind { Null, Number, Text, Date, DateTime };
    Kind kind = Kind::Null;
    double number = 0; // Number; days since 1899-12-30 for Date and DateTime
    QString text;

    static Value null() { return {}; }
    static Value ofNumber(double v) { return {Kind::Number, v, {}}; }
    static Value ofText(const QString& v) { return {Kind::Text, 0, v}; }
    static Value ofDate(DateTimeValue v) { return {Kind::Date, v, {}}; }
    static Value ofDateTime(DateTimeValue v) { return {Kind::DateTime, v, {}}; }
};

// The rows a report reads, one current row at a time.
class DataSet {
public:
    virtual ~DataSet() = default;
    virtual QStringList fieldNames() const = 0;
    // The current row's value of a column (letter case ignored); nullopt when there is no
    // such column.
    virtual std::optional<Value> field(QStringView name) const = 0;
};

struct NamedDataSet {
    QString name;
    const DataSet* dataSet = nullptr;
};

// What an expression can refer to.
struct EvalContext {
    std::vector<NamedDataSet> dataSets;
    const std::vector<Variable>* variables = nullptr;

    const DataSet* dataSet(QStringView name) const; // letter case ignored
};

// Throws vaha::Error with a Czech text naming what is wrong.
Value evaluate(QStringView expression, const EvalContext& context);

// The text with every "[...]" replaced by its value formatted for printing. Throws like
// evaluate(); an unclosed "[" is an error too.
QString expandText(const QString& text, const EvalContext& context, const QString& dateFormat);

// Numbers in the workstation's default format without fixed decimals ("20,3" on a Czech
// workstation); dates in `dateFormat`, or the regional date (and time) when it is empty.
QString formatValue(const Value& value, const QString& dateFormat);

// A date and time in a format of the classic office kind: d dd m mm mmmm yy yyyy h hh n nn s ss
// (m is the month, n the minute); text in double or single quotes and other characters are
// copied as they are.
QString formatDateTime(const QString& format, DateTimeValue value);

} // namespace vaha::report
