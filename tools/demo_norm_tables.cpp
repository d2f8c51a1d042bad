// SPDX-License-Identifier: Apache-2.0
#include "demo_norm_tables.h"

#include "demo_norms.h"

#include <algorithm>

NormTables demoNormTables() {
    NormTables tables;
    for (const NormGroupRow& row : demoNormGroups()) {
        NormGroupEntry entry;
        entry.normgrupp = kDemoNormGroup;
        entry.delgrupp = row.delgrupp;
        entry.sekvens = row.sekvens;
        entry.beskrivning = row.beskrivning;
        tables.groups.push_back(std::move(entry));
    }
    for (const NormRow& row : demoNormRows()) {
        NormEntry entry;
        entry.normgrupp = kDemoNormGroup;
        entry.delskala = row.delskala;
        entry.delgrupp = row.delgrupp;
        std::copy(std::begin(row.S), std::end(row.S), std::begin(entry.S));
        tables.norms.push_back(std::move(entry));
    }
    for (const IndexNormRow& row : demoIndexNormRows()) {
        IndexNormEntry entry;
        entry.normgrupp = kDemoNormGroup;
        entry.index = row.index;
        entry.skal = row.skal;
        entry.ik = row.ik;
        entry.perc = row.perc;
        entry.konfLow90 = row.low90;
        entry.konfHigh90 = row.high90;
        entry.konfLow95 = row.low95;
        entry.konfHigh95 = row.high95;
        tables.indexNorms.push_back(std::move(entry));
    }
    return tables;
}
