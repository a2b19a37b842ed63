#include "report_list.h"

#include <QStringList>

namespace quorvane {

QString reportList(const std::vector<Slot>& hits)
{
    QStringList numbers;
    numbers.reserve(qsizetype(hits.size()));
    for (const Slot slot : hits)
        numbers.append(QString::number(lineNumberOf(slot)));
    return numbers.join(QStringLiteral(", "));
}

} // namespace quorvane
