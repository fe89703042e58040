#include "engine/panes/PrinterLists.h"

namespace ComTORVALEKZ2R4_Plugin {

PrinterDataSource::~PrinterDataSource() = default;

kz::Value PrinterLists::named(const char* queryName) const {
    return _source ? _source->sendCommand(queryName) : kz::Value();
}

// The order is the one the printer data has always been fetched in.
void PrinterLists::fetchAll() const {
    for (const char* query : {"CalibFile", "DeviceLinkFile", "UserTrcProfile", "DensityAdjustProfile", "Font",
                              "JobResource-IMPOSITION", "JobResource-NORMALIZER", "JobResource-TRAPPING",
                              "JobResource-WATERMARK", "JobResource-FORM", "JobResource-PAGENATION",
                              "JobResource-CUSTOM_NOTE", "JobResource-NOTE", "PrePostDevice", "JobFolder",
                              "DeviceList", "FeederInfoList", "StackerInfoList"})
        named(query);
}

}  // namespace ComTORVALEKZ2R4_Plugin
