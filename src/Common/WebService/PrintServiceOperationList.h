// Every operation of the print service, once: its name, its reply element and
// the enumeration its status text belongs to. Included where a declaration or
// definition is needed per operation, with KZ_PRINT_SERVICE_OPERATION defined
// to pick the columns it needs; no include guard on purpose.
KZ_PRINT_SERVICE_OPERATION(getStackerInfoList, getStackerInfoListResponse, Service)
KZ_PRINT_SERVICE_OPERATION(getFeederInfoList, getFeederInfoListResponse, Service)
KZ_PRINT_SERVICE_OPERATION(getJobFolderList, GetJobFolderListResponse, Service)
KZ_PRINT_SERVICE_OPERATION(getPrePostDeviceList, getPrePostDeviceResponse, Service)
KZ_PRINT_SERVICE_OPERATION(getCmsSpotGetAllListData, getCmsSpotGetAllListDataResponse, Service)
KZ_PRINT_SERVICE_OPERATION(getSpotColorAllInfoListData, getSpotColorAllInfoListDataResponse, Resource)
KZ_PRINT_SERVICE_OPERATION(getColorSubstListData, getColorSubstListDataResponse, Resource)
KZ_PRINT_SERVICE_OPERATION(GetJobResourceList, GetJobResourceListResponse, Service)
KZ_PRINT_SERVICE_OPERATION(getCalibFileList, getCalibFileListResponse, Resource)
KZ_PRINT_SERVICE_OPERATION(getDensityAdjustProfileList, getDensityAdjustProfileListResponse, Resource)
KZ_PRINT_SERVICE_OPERATION(getUserTrcProfileList, getUserTrcProfileListResponse, Resource)
KZ_PRINT_SERVICE_OPERATION(getFontList, getFontListResponse, Service)
KZ_PRINT_SERVICE_OPERATION(getOutputProfileList, getOutputProfileListResponse, Resource)
KZ_PRINT_SERVICE_OPERATION(getRGBInputProfileList, getRGBInputProfileListResponse, Resource)
KZ_PRINT_SERVICE_OPERATION(getCMYKInputProfileList, getCMYKInputProfileListResponse, Resource)
KZ_PRINT_SERVICE_OPERATION(getDeviceLinkFileList, getDeviceLinkFileListResponse, CmsRes)
