// SPDX-License-Identifier: Apache-2.0
#include "raw_score_fields.h"

#include "subtest_table.h"

const RawScoreField kRawScoreFields[kRawScoreFieldCount] = {
    {RAW_BLOCKMONSTER, 81, 190, 45},
    {RAW_BUT, 82, 190, 75},
    {RAW_LIKHETER, 83, 190, 120},
    {RAW_SRFRAM, 84, 190, 165},
    {RAW_SRLFRAM, 85, 190, 195},
    {RAW_SRBAK, 86, 190, 225},
    {RAW_SRLBAK, 87, 190, 255},
    {RAW_SS, 88, 190, 285},
    {RAW_SSO, 89, 190, 315},
    {RAW_MATRISER, 90, 190, 360},
    {RAW_ORDFORRAD, 190, 190, 405},
    {RAW_ARITMETIK, 191, 190, 450},
    {RAW_SYMBOLLETNING, 121, 490, 45},
    {RAW_VISUELLAPUSSEL, 122, 490, 90},
    {RAW_INFORMATION, 123, 490, 135},
    {RAW_KODNING, 124, 485, 180},
    {RAW_BSS, 125, 490, 225},
    {RAW_BO, 126, 490, 255},
    {RAW_FIGURVIKTER, 127, 490, 300},
    {RAW_FORSTAELSE, 128, 490, 345},
    {RAW_OVERSTRYKNING, 129, 490, 390},
    {RAW_BILDKOMPLETTERING, 130, 490, 435},
};

int rawScoreFieldMax(int field) {
    return kSubtests[kRawScoreFields[field].raw].formMax;
}

unsigned short rawScoreFieldName(int field) {
    return static_cast<unsigned short>(kSubtests[kRawScoreFields[field].raw].nameStringId);
}

int rawScoreFieldWidth(int field) {
    return kRawScoreFields[field].raw == RAW_KODNING ? 30 : 25;
}

int rawScoreFieldLength(int field) {
    return kRawScoreFields[field].raw == RAW_KODNING ? 3 : 2;
}
