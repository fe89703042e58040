#pragma once

#include "PrintServiceSimulator.h"

namespace kztest {

// The sample printer the demonstration serves too; the tests pin its lists.
inline kz::Dictionary samplePrinter() { return PrintServiceSimulator::readPrinter(KZ_SAMPLE_PRINTER); }

}  // namespace kztest
