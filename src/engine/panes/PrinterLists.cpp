// The print server's lists, asked of the panel registered with setPDEObject.
#include "engine/panes/PanePlugInMgr.h"

namespace ComTORVALEKZ2R4_Plugin {

PrinterDataSource::~PrinterDataSource() = default;

kz::Value PanePlugInMgr::listNamed(const char* queryName) {
    return _PDEObject ? _PDEObject->sendCommand(queryName) : kz::Value();
}

kz::Value PanePlugInMgr::getStackerInfoList() { return listNamed("StackerInfoList"); }
kz::Value PanePlugInMgr::getFeederInfoList() { return listNamed("FeederInfoList"); }
kz::Value PanePlugInMgr::getDeviceList() { return listNamed("DeviceList"); }
kz::Value PanePlugInMgr::getJobFolderList() { return listNamed("JobFolder"); }
kz::Value PanePlugInMgr::getPrePostDeviceList() { return listNamed("PrePostDevice"); }
kz::Value PanePlugInMgr::getNoteFileList() { return listNamed("JobResource-NOTE"); }
kz::Value PanePlugInMgr::getCustomNoteFileList() { return listNamed("JobResource-CUSTOM_NOTE"); }
kz::Value PanePlugInMgr::getPagenationFileList() { return listNamed("JobResource-PAGENATION"); }
kz::Value PanePlugInMgr::getFormFileList() { return listNamed("JobResource-FORM"); }
kz::Value PanePlugInMgr::getWaterMarkFileList() { return listNamed("JobResource-WATERMARK"); }
kz::Value PanePlugInMgr::getTrappingFileList() { return listNamed("JobResource-TRAPPING"); }
kz::Value PanePlugInMgr::getNormalizerFileList() { return listNamed("JobResource-NORMALIZER"); }
kz::Value PanePlugInMgr::getImpositionFileList() { return listNamed("JobResource-IMPOSITION"); }
kz::Value PanePlugInMgr::getFontList() { return listNamed("Font"); }
kz::Value PanePlugInMgr::getDensityAdjustProfileList() { return listNamed("DensityAdjustProfile"); }
kz::Value PanePlugInMgr::getUserTrcProfileList() { return listNamed("UserTrcProfile"); }
kz::Value PanePlugInMgr::getDeviceLinkFileList() { return listNamed("DeviceLinkFile"); }
kz::Value PanePlugInMgr::getCalibFileList() { return listNamed("CalibFile"); }

// Nothing is kept: a pane asks again when it needs a list. The order is the
// one the printer data has always been fetched in.
void PanePlugInMgr::getAllList() {
    getCalibFileList();
    getDeviceLinkFileList();
    getUserTrcProfileList();
    getDensityAdjustProfileList();
    getFontList();
    getImpositionFileList();
    getNormalizerFileList();
    getTrappingFileList();
    getWaterMarkFileList();
    getFormFileList();
    getPagenationFileList();
    getCustomNoteFileList();
    getNoteFileList();
    getPrePostDeviceList();
    getJobFolderList();
    getDeviceList();
    getFeederInfoList();
    getStackerInfoList();
}

}  // namespace ComTORVALEKZ2R4_Plugin
