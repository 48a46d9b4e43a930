// DrawingSpec: the host's record of one chart drawing, filled by the study for PlaceDrawing and
// by the host for FindDrawing.
//
// Every drawing starts from the reset state: ChartNumber 0, DrawingNumber -1 (a new drawing),
// AddMode 3, no text, and every other field at the host's "unset" marker (-1 for 32-bit
// integers, 0xFFFFFFFF for colours, 65535 for 16-bit fields, 0 for prices and date-times), so
// that a field a drawing does not set reaches the host unset.
#pragma once

#include <cstdint>

#include "host/host_string.h"

namespace ostrel {

enum DrawingType : std::int32_t {
  kDrawingHorizontalLine = 3,
  kDrawingRectangle = 12,
  kDrawingMarker = 39,
};

constexpr std::int32_t kUnsetInt = -1;
constexpr std::uint32_t kUnsetColour = 0xFFFFFFFFu;
constexpr std::uint16_t kUnsetShort = 65535;
constexpr std::int32_t kDrawingRecordSize = 1024;
constexpr std::int32_t kHostInterfaceVersion = 2911;

struct DrawingSpec {
  std::int32_t RecordSize = kDrawingRecordSize;
  std::int32_t ChartNumber = 0;
  std::int32_t DrawingNumber = -1;
  std::int32_t Transparency = kUnsetInt;
  float BeginValue = 0.0f;
  float EndValue = 0.0f;
  std::uint32_t Color = kUnsetColour;
  std::int32_t FontSize = kUnsetInt;
  std::int64_t BeginTime = 0;
  std::int64_t EndTime = 0;
  HostString Text;
  std::int32_t DrawingType = kUnsetInt;
  std::uint16_t LineWidth = kUnsetShort;
  std::uint16_t LineStyle = kUnsetShort;
  std::int32_t AddMode = 3;
  std::int32_t RecordVersion = kHostInterfaceVersion;
  std::int32_t TextAlignment = kUnsetInt;
  std::uint32_t FillColor = kUnsetColour;
  std::int32_t MarkerType = kUnsetInt;
  std::int32_t MarkerSize = kUnsetInt;
  std::int32_t TransparentBackground = kUnsetInt;
  std::int32_t CopySettingA = kUnsetInt;
  std::int32_t CopySettingC = kUnsetInt;
  std::uint16_t Hidden = kUnsetShort;
  std::uint16_t CopySettingB = kUnsetShort;

  // Back to the reset state; an owned text is released.
  void reset() noexcept { *this = DrawingSpec(); }
};

}  // namespace ostrel
