#pragma once

// The host function table: every host operation the plug-in may reach, bound by its exact
// export name in the host's own module. The order of the names is the table's order.

#include <array>
#include <cstddef>
#include <string_view>

namespace host {

inline constexpr std::size_t kHostFunctionCount = 184;

// Exact, case-sensitive export names, in table order. Each view is a NUL-terminated literal.
inline constexpr std::array<std::string_view, kHostFunctionCount> kHostFunctionNames = {
    "tkGetVersionOfZemlarTK",
    "tkGetZemlarTKPath",
    "tkGetPluginsPath",
    "tkShowLogPane",
    "tkShowLogTab",
    "tkLogText",
    "tkMessageBox",
    "tkYesNoMessageBox",
    "tkGetIntegerInput",
    "tkGetFloatInput",
    "tkGetTextInput",
    "tkGetOpenFileName",
    "tkGetSaveFileName",
    "tkPlotPoints",
    "tkAddPointsToPlot",
    "tkPlotLine",
    "tkAddLineToPlot",
    "tkPlotBars",
    "tkAddBarsToPlot",
    "tkShowPlotAtPosition",
    "tkResizePlot",
    "tkSetBarPlotXAxisCategories",
    "tkSetPlotXAxisRange",
    "tkSetPlotYAxisRange",
    "tkSetPlotTitle",
    "tkSetPlotMarkerSizeAndColor",
    "tkSetPlotLineSizeAndColor",
    "tkSetPlotBarColors",
    "tkSetPlotFontSizes",
    "tkShowPlotLegend",
    "tkSetPlotColorTheme",
    "tkUpdateActiveWindow",
    "tkShowBusyCursor",
    "tkStopBusyCursor",
    "tkGetNumberOfDocsInWorkspace",
    "tkGetDocumentType",
    "tkGetDocumentTypeName",
    "tkGetIDOfCurrentDocument",
    "tkSetAsCurrentDocument",
    "tkCalculateIAMatrix",
    "tkGetTRFParametersFromVolumeToolsDlg",
    "tkGetHeaderOfCurrentFMR",
    "tkSetHeaderOfCurrentFMR",
    "tkGetSTCFloatDataOfCurrentFMR",
    "tkGetSTCIntDataOfCurrentFMR",
    "tkGetSTCDataOfCurrentFMR",
    "tkSaveFMR",
    "tkSaveFMRAndSTC",
    "tkGetScannerPositionHeaderOfCurrentFMR",
    "tkSetScannerPositionHeaderOfCurrentFMR",
    "tkGetHeaderOfCurrentDMR",
    "tkSetHeaderOfCurrentDMR",
    "tkGetDWIFloatDataOfCurrentDMR",
    "tkGetDWIIntDataOfCurrentDMR",
    "tkGetDWIDataOfCurrentDMR",
    "tkConvertDWIFormatOfCurrentDMR",
    "tkSaveDMR",
    "tkSaveDMRAndDWI",
    "tkGetMAPOfCurrentFMR",
    "tkSetMAPParametersOfCurrentFMR",
    "tkDeleteMAPsOfCurrentFMR",
    "tkLoadMAPsToCurrentFMR",
    "tkSaveMAPsOfCurrentFMR",
    "tkCreateMAPForCurrentFMR",
    "tkGetCurrentVMR",
    "tkGetMainHeaderOfCurrentVMR",
    "tkSetMainHeaderOfCurrentVMR",
    "tkGetScannerPositionHeaderOfCurrentVMR",
    "tkSetScannerPositionHeaderOfCurrentVMR",
    "tkGetPastTransformationsHeaderOfCurrentVMR",
    "tkSetPastTransformationsHeaderOfCurrentVMR",
    "tkReframeCurrentVMR",
    "tkGetCrossPositionOfCurrentVMR",
    "tkGetV16OfCurrentVMR",
    "tkDetachV16FromCurrentVMR",
    "tkLoadV16ToCurrentVMR",
    "tkSaveV16OfCurrentVMR",
    "tkConvertV16ToVMR",
    "tkGetNRVMPsOfCurrentVMR",
    "tkGetNRVMPOfCurrentVMR",
    "tkSetNRVMPParametersOfCurrentVMR",
    "tkLoadNRVMPsToCurrentVMR",
    "tkAddNRVMPsToCurrentVMR",
    "tkSaveNRVMPsOfCurrentVMR",
    "tkCreateNRVMPsForCurrentVMR",
    "tkDeleteNRVMPsOfCurrentVMR",
    "tkDeleteNRVMPMap",
    "tkSetNRVMPsParamsDisplayRange",
    "tkGetARVMPsOfCurrentVMR",
    "tkGetARVMPOfCurrentVMR",
    "tkSetARVMPParametersOfCurrentVMR",
    "tkLoadARVMPsToCurrentVMR",
    "tkSaveARVMPsOfCurrentVMR",
    "tkCreateARVMPsForCurrentVMR",
    "tkDeleteARVMPsOfCurrentVMR",
    "tkLinkVTCToCurrentVMR",
    "tkCreateVTCForCurrentVMR",
    "tkGetHeaderOfVTCOfCurrentVMR",
    "tkSetHeaderOfVTCOfCurrentVMR",
    "tkSetVTCParametersOfCurrentVMR",
    "tkGetVTCFloatDataOfCurrentVMR",
    "tkGetVTCIntDataOfCurrentVMR",
    "tkGetVTCOfCurrentVMR",
    "tkSaveVTCOfCurrentVMR",
    "tkClearMultiVTCAnalysis",
    "tkAddVTCRefForMultiVTCAnalysis",
    "tkGetVoxelTimeCourseOfVTC",
    "tkGetVoxelTimeCourseOfVTCs",
    "tkGetVoxelCoordsTimeCourseOfVTC",
    "tkGetVoxelCoordsTimeCourseOfVTCs",
    "tkGetGLMOfCurrentVMR",
    "tkLoadMaskToCurrentVMR",
    "tkGetMaskOfCurrentVMR",
    "tkGetScene",
    "tkLoadSRF",
    "tkAddSRF",
    "tkRemoveCurrentSRF",
    "tkGetCurrentSRF",
    "tkReleaseSRFAccess",
    "tkSaveCurrentSRF",
    "tkSetCurrentSRF",
    "tkGetSMPsOfCurrentSRF",
    "tkGetSMPOfCurrentSRF",
    "tkSetSMPParametersOfCurrentSRF",
    "tkLoadSMPsToCurrentSRF",
    "tkSaveSMPsOfCurrentSRF",
    "tkCreateSMPForCurrentSRF",
    "tkDeleteSMPsOfCurrentSRF",
    "tkOverlaySMPsOnSRF",
    "tkLinkMTCToCurrentSRF",
    "tkCreateMTCForCurrentSRF",
    "tkGetMTCOfCurrentSRF",
    "tkSetMTCParametersOfCurrentSRF",
    "tkSaveMTCOfCurrentSRF",
    "tkClearMultiMTCRefsOfCurrentSRF",
    "tkAddMultiMTCRefToCurrentSRF",
    "tkGetVertexTimeCourseOfMTC",
    "tkGetVertexTimeCourseOfAllMTCs",
    "tkGetSSMOfCurrentSRF",
    "tkLoadSSMToCurrentSRF",
    "tkSaveSSMOfCurrentSRF",
    "tkCreateSSMForCurrentSRF",
    "tkDeleteSSMOfCurrentSRF",
    "tkClearProtocol",
    "tkLoadProtocol",
    "tkSaveProtocol",
    "tkGetProtocol",
    "tkSetProtocol",
    "tkGetProtocolCondition",
    "tkAddProtocolCondition",
    "tkAddProtocolConditionInterval",
    "tkClearDesignMatrix",
    "tkAddPredictor",
    "tkSetPredictorValuesFromCondition",
    "tkSetPredictorValuesFromConditionName",
    "tkApplyTwoGammaHRFToPredictor",
    "tkApplyTwoGammaHRFToPredictorWithName",
    "tkApplyBoyntonHRFToPredictor",
    "tkApplyBoyntonHRFToPredictorWithName",
    "tkGetPredictor",
    "tkGetPredictorByName",
    "tkLoadSingleStudyGLMDesignMatrix",
    "tkSaveSingleStudyGLMDesignMatrix",
    "tkLoadVOIs",
    "tkSaveVOIs",
    "tkGetVOIs",
    "tkGetVOI",
    "tkLoadPOIs",
    "tkSavePOIs",
    "tkGetPOIs",
    "tkGetPOI",
    "tkGetStringParameter",
    "tkGetIntParameter",
    "tkGetFloatParameter",
    "tkSetStringParameter",
    "tkSetIntParameter",
    "tkSetFloatParameter",
    "tkGetDlgStringParameter",
    "tkGetDlgIntegerParameter",
    "tkGetDlgFloatParameter",
    "tkSetDlgStringOutputParameter",
    "tkSetDlgIntegerOutputParameter",
    "tkSetDlgFloatOutputParameter",
    "tkLaunchICADialog",
};

// Position of the named operation in the table; kHostFunctionCount when there is none.
constexpr std::size_t findHostFunction(std::string_view name) {
    std::size_t i = 0;
    while (i < kHostFunctionNames.size() && kHostFunctionNames[i] != name) {
        ++i;
    }
    return i;
}

// Position of an operation, checked at compile time: a name that is not in the table fails the
// build.
consteval std::size_t hostFunctionIndex(std::string_view name) {
    const std::size_t index = findHostFunction(name);
    if (index == kHostFunctionCount) {
        throw "not a host operation";
    }
    return index;
}

// An untyped function address; each entry is called through the type of its operation.
using HostFunctionAddress = void (*)();
using HostFunctionTable = std::array<HostFunctionAddress, kHostFunctionCount>;

// The one process-wide table. Empty at load; written only by resolveHostFunctions (and by tests
// that stand in for a host).
HostFunctionTable& hostFunctionTable();

// Fills the table from the host module ("Zemlar.exe", else "ZemlarTK.exe").
// True: the module was found and exports the version operation. False: the plug-in cannot run;
// the table is left as it was, except that the version entry is null when the module lacks it.
bool resolveHostFunctions();

}  // namespace host
