#pragma once
// The framework log. It writes nowhere: callers still compose their messages.

#include <string>

namespace PF {
namespace Log {

enum LogMethod { LogMethod_None = 0, LogMethod_Console = 1, LogMethod_File = 2 };
enum LogLevel { LogLevel_Trace = 1, LogLevel_Debug = 2, LogLevel_Info = 4, LogLevel_Warn = 8, LogLevel_Error = 16 };

void initLogging();
void stopLogging();
void trace(const std::string& src, const std::string& msg, const char* file, int line, const char* fn);
void debug(const std::string& src, const std::string& msg, const char* file, int line, const char* fn);
void info(const std::string& src, const std::string& msg, const char* file, int line, const char* fn);
void warn(const std::string& src, const std::string& msg, const char* file, int line, const char* fn);
void error(const std::string& src, const std::string& msg, const char* file, int line, const char* fn);
void fatal(const std::string& src, const std::string& msg, const char* file, int line, const char* fn);

}  // namespace Log
}  // namespace PF
