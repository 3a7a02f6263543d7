// The sweep: a depth-first walk below one folder that removes every directory of a given name.
#pragma once

#include <string>

// Walks the tree below folder. Every directory whose name equals wanted_dir, ignoring case, is
// removed through the command interpreter and not entered; every other directory is walked in
// turn. Names that begin with a dot, files and links are passed over. Reports nothing.
void SweepFolder(std::string folder, std::string wanted_dir);

// Has the command interpreter remove folder/name with everything in it, and waits for it. name is
// the matched entry's name as listed. A path that the interpreter could not be given safely is
// left in place, with one line on standard error.
void RunRemoveCommand(std::string folder, std::string name);

// The command line that RunRemoveCommand hands to the interpreter for folder/name.
std::string ComposeRemoveCommand(std::string folder, std::string name);
