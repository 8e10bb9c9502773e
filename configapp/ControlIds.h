// Numbers of Setdesk's dialog templates, controls and picture.
#pragma once

#include <cstdint>

namespace configapp {

// Dialog templates and the picture of the main dialog.
enum TemplateId : uint32_t {
  kConduitPageTemplate = 129,
  kUpdatePageTemplate = 134,
  kMainDialogTemplate = 135,
  kPathPageTemplate = 136,
  kPictureBitmap = 137,
};

// Controls. The numbers name the controls in the hint table and the views.
enum ControlId : uint32_t {
  kIdOk = 1,
  kIdCancel = 2,
  // Conduit page
  kIdShowDialog = 1003,
  kIdAction = 1004,
  kIdRate = 1005,
  kIdSeconds = 1006,
  kIdGetUpdateNow = 1008,
  kIdActionLabel = 1024,
  kIdRateLabel = 1025,
  kIdSecondsLabel = 1026,
  kIdConduitGroup = 1027,
  // every page
  kIdHint = 1029,
  // URLs page
  kIdAddress = 1007,
  kIdAddressList = 1012,
  kIdAdd = 1015,
  kIdDelete = 1016,
  kIdClearAll = 1017,
  kIdUp = 1019,
  kIdDown = 1020,
  kIdAddressLabel = 1028,
  kIdAddressGroup = 1032,
  // Paths page
  kIdPathsGroup = 1042,
  kIdDesktopPath = 1043,
  kIdBrowseDesktop = 1044,
  kIdZeppDir = 1045,
  kIdBrowseZepp = 1046,
  kIdDesktopLabel = 1047,
  kIdZeppLabel = 1048,
  // main dialog
  kIdTabs = 1049,
};

}  // namespace configapp
