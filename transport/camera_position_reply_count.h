#pragma once
// The count of Pelco D position replies, one for the whole library, shared by every transport
// object. A Pelco D camera answers a position query with three replies (pan, tilt, zoom); the
// transport reports the position once three valid replies have come in. Making a Pelco D
// position query starts the count again. Any thread may call these.

namespace transport {

// Starts the count again at 0.
void ResetCameraPositionReplyCount();

// Counts one valid reply. Returns true when it is the third since the count last started, and
// then starts the count again.
bool CountCameraPositionReply();

int CameraPositionReplyCount();

} // namespace transport
