#pragma once
// The archive browser's information panel "Информация" for one issue: what
// the issue index says about itself (number and date in its heading, the
// day it was built in its end mark) and what the issue folder holds (pages,
// pictures). A value that cannot be taken reads "---".

#include "settings/bytetext.h"

#include <QString>

struct IssueInfo {
    QString Number = QStringLiteral("---");   // "Номер:"
    QString Date = QStringLiteral("---");     // "Дата:", dd.mm.yyyy
    QString Built = QStringLiteral("---");    // "Загружен:"
    QString Pages = QStringLiteral("---");    // "Страниц в номере:"
    QString Pictures = QStringLiteral("---"); // "С изображениями:", "да" or "нет"
};

// index is the issue's "index.htm"; pageFiles and imageFiles the counts of
// CountPageFiles and CountImageFiles. An index copies two stock pictures of
// its own, so two pictures mean that no page picture was saved ("нет"), more
// mean "да", fewer leave "---".
IssueInfo ReadIssueInfo(const ByteText& index, int pageFiles, int imageFiles);
