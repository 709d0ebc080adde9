#include "graphs/track_modes.h"

#include <qcustomplot.h>

namespace halvane {

void ApplyTrackMode(QCustomPlot& plot, const TrackMode& mode) {
  QCPAxisRect* rect = plot.axisRect();
  Qt::Orientations drag;
  drag.setFlag(Qt::Horizontal, mode.pan_x);
  drag.setFlag(Qt::Vertical, mode.pan_y);
  rect->setRangeDrag(drag);
  plot.setInteraction(QCP::iRangeDrag, drag != Qt::Orientations());
  const bool zoom = mode.zoom_x || mode.zoom_y;
  rect->setRangeZoomAxes(mode.zoom_x ? plot.xAxis : nullptr, mode.zoom_y ? plot.yAxis : nullptr);
  plot.setSelectionRectMode(zoom ? QCP::srmZoom : QCP::srmNone);
}

}  // namespace halvane
