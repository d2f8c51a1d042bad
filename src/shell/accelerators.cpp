// SPDX-License-Identifier: Apache-2.0
#include "accelerators.h"

#include "screen_ids.h"

namespace {

constexpr QKeyCombination alt(Qt::Key key) {
    return QKeyCombination(Qt::AltModifier, key);
}

} // namespace

const Accelerator kAccelerators[] = {
    {alt(Qt::Key_1), CMD_ALT_1},     {alt(Qt::Key_2), CMD_ALT_2},
    {alt(Qt::Key_3), CMD_ALT_3},     {alt(Qt::Key_4), CMD_ALT_4},
    {alt(Qt::Key_5), CMD_ALT_5},     {alt(Qt::Key_A), CMD_ALT_A},
    {alt(Qt::Key_B), CMD_ALT_B},     {alt(Qt::Key_E), CMD_ALT_E},
    {alt(Qt::Key_F), CMD_ALT_F},     {alt(Qt::Key_I), CMD_ALT_I},
    {alt(Qt::Key_K), CMD_ALT_K},     {alt(Qt::Key_L), CMD_ALT_L},
    {alt(Qt::Key_N), CMD_ALT_N},     {alt(Qt::Key_O), CMD_ALT_O},
    {alt(Qt::Key_R), CMD_ALT_R},     {alt(Qt::Key_S), CMD_ALT_S},
    {alt(Qt::Key_T), CMD_ALT_T},     {alt(Qt::Key_U), CMD_ALT_U},
    {alt(Qt::Key_V), CMD_ALT_V},     {QKeyCombination(Qt::Key_Escape), CMD_ESCAPE},
    {alt(Qt::Key_Tab), CMD_ALT_TAB},
};

const int kAcceleratorCount = static_cast<int>(std::size(kAccelerators));
