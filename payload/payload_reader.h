#pragma once
// Reading the program's own raw-data (RCDATA) resources: payload items and
// plain templates. Resource names are matched without regard to case.

#include <cstdint>
#include <string>

namespace pellion {

// Reads one payload item: finds the resource, makes the payload key (which
// resets the process-wide generator to the build's seed) and decodes it as
// DecodePayloadItem (payload_item.h) describes, raising its errors and, for a
// resource that does not exist, EResNotFound "Resource <name> not found".
// `fileName` is emptied before anything else.
void ReadPayloadItem(const std::string& resourceName, std::string& fileName, int32_t& dateTime,
                     std::string& content);

// The whole of a raw resource, as stored (neither scrambled nor compressed):
// the DOSBox configuration template. EResNotFound when it does not exist.
std::string ReadRawResource(const std::string& name);

}  // namespace pellion
