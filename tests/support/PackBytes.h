// Stage files built byte by byte for the editor's and the workflow's tests, independently of
// the writer, and whole-file reads and writes.
#pragma once

#include <QFile>
#include <QPoint>
#include <QString>

#include <string>
#include <vector>

namespace fixture {

inline std::string readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

inline void writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes.data(), qint64(bytes.size()));
}

inline std::string native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The parameter line of a stage of the given size with every other parameter at its default.
inline std::string parameterLine(int szer, int wys) {
    return std::to_string(szer) + "," + std::to_string(wys) +
           ",010,010,010,010,010,100,Z,"
           "00,00,00,20,40,00,10,30,40,20,61,40,05,35,05,10,10,55,";
}

// A record of the default parameters with the given rows, as the game's files hold it.
inline std::string recordOfRows(const std::string& name, int szer,
                                const std::vector<std::string>& rows) {
    std::string bytes =
        "(" + name + ")\r\n}\r\n" + parameterLine(szer, int(rows.size())) + "\r\n{\r\n";
    for (const std::string& row : rows)
        bytes += row + "\r\n";
    return bytes;
}

// One stage record of the default parameters: each row filled with `fill`, "S" and "W" at the
// given cells (the start of the first row unless told).
inline std::string record(const std::string& name, char fill, int szer = 18, int wys = 10,
                          QPoint s = {1, 1}, QPoint w = {2, 1}) {
    std::vector<std::string> rows(std::size_t(wys), std::string(std::size_t(szer), fill));
    rows[std::size_t(s.y() - 1)][std::size_t(s.x() - 1)] = 'S';
    rows[std::size_t(w.y() - 1)][std::size_t(w.x() - 1)] = 'W';
    return recordOfRows(name, szer, rows);
}

// Records of the given names, filled with 'a', 'b', ... so that a moved record shows.
inline std::string stageFile(const std::vector<std::string>& names) {
    std::string bytes;
    for (std::size_t i = 0; i < names.size(); ++i)
        bytes += record(names[i], char('a' + i));
    return bytes;
}

} // namespace fixture
