// A stop asked for by the scheduler: it cancels a job by sending its filters SIGTERM. The filter
// notes the signal and stops between bands of rows, dropping the page in progress.
#ifndef KORVEL_FILTER_STOP_REQUEST_H
#define KORVEL_FILTER_STOP_REQUEST_H

// Installs the SIGTERM handler.
void CatchStopRequests();
// Whether SIGTERM has arrived.
bool StopRequested();

#endif
