#include "exec/multi_exec_control.h"

namespace kestrova {

void MultiExecControl::ReportProgress(const ExecProgress& progress) {
    ExecProgress scaled{progress.stage, progress.current + progress.total * index_,
                        progress.total * count_};
    inner_.ReportProgress(scaled);
}

}  // namespace kestrova
