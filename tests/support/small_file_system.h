#pragma once
// A small file system of its own for one test: a tmpfs of a few kilobytes
// mounted on a temporary folder (mounting needs the right to, as root has it
// here), so a disk can be filled for real. fill() takes every free block;
// the folder is unmounted when the object goes.

#include <QString>
#include <QTemporaryDir>

class SmallFileSystem {
public:
    explicit SmallFileSystem(int kilobytes = 256);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    // False when mounting is not permitted; why() says why.
    bool mounted() const { return mounted_; }
    QString why() const { return why_; }
    QString path() const { return dir_.path(); }

    // Writes a filler file until the disk is full; free() removes it.
    void fill();
    void free();

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString why_;
};
