#include "schema.h"

#include "schema_sql.h"
#include "statement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

bool createDatabaseFile(const char* path, char* errorText, int errorCapacity) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        std::snprintf(errorText, static_cast<std::size_t>(errorCapacity), "%s: %s", path,
                      std::strerror(errno));
        return false;
    }
    close(fd);
    return true;
}

DbResult DoCreateSchema() {
    // The schema's statements end with a semicolon at the end of a line; comment lines start
    // with "--".
    std::string statement;
    std::string_view rest = kSchemaSql;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.starts_with("--")) {
            continue;
        }
        statement.append(line).append("\n");
        if (line.ends_with(";")) {
            Statement run;
            if (!run.executeDirect(statement.c_str()) || !run.commit()) {
                return DB_FAILED;
            }
            statement.clear();
        }
    }
    return DB_DONE;
}
