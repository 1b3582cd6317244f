#pragma once

#include <QString>

namespace vaha::update {

// Fetches `address` into `localPath`, always from the server (no cached copy), storing the
// body byte for byte as it arrives, about 1 KiB at a time.
//
// True when the whole body is now in `localPath`. False when the address could not be opened
// (no connection, no such host, an HTTP error status such as 404 or 500) or when the transfer
// broke off; in both cases `localPath` is left as it was, so an error page or a shortened
// download is never taken for the file. The body goes to a temporary file beside `localPath`
// that replaces it only when complete.
//
// Throws vaha::Error "Cannot create file ..." when the local file cannot be created or
// replaced, and "Cannot write file ..." when writing it fails.
bool DownloadToFile(const QString& address, const QString& localPath);

} // namespace vaha::update
