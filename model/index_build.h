// Building the full-text indexes of a model in the foreground, for programs without worker
// threads (the command-line tool): the build the search thread runs, under the same locks.
#pragma once

namespace kestrova {

class IExecControl;
class IModel;

// Builds the full-text indexes of the model (or of the model behind a view) that are not
// current, on the calling thread, and returns once each is built or has failed:
// IModelDiagnostics::GetIndexState tells which, and the index logs say why. Takes every mutex
// of the page folder's search lock set first, as the search thread does for a build, so it
// waits for the searches of every process and none runs meanwhile. Reports the build's
// progress (stage kStageIndexing) to `control`; a build that the control stops ends early,
// leaving the index as it was. Failures other than those the index logs tell throw.
void BuildIndexesAndWait(IModel& model, IExecControl& control);

}  // namespace kestrova
