// The whole main window over the scripted platform, started and closed as a user would.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "mainwindow/ToDoUnit.h"
#include "support/ScriptedPlatform.h"

namespace tasklane::mainwindow {

class Program {
 public:
  testing::ScriptedPlatform platform;
  std::unique_ptr<TToDoForm> form;

  std::filesystem::path ListFile() const { return platform.Folder() / "ToDoList.xml"; }
  void WriteListFile(std::string_view bytes) const {
    std::ofstream(ListFile(), std::ios::binary) << bytes;
  }
  std::string ListFileBytes() const {
    std::ifstream in(ListFile(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // Creates the window, then enters the message loop, which shows it and lets the start
  // timer tick.
  TToDoForm& Start(bool englishUI = true) {
    // The program's texts match the window's language unless the test says otherwise.
    if (!platform.LanguageResourceSet()) platform.SetLanguageResource(englishUI ? u"ENGLISH" : u"DEUTSCH");
    form = std::make_unique<TToDoForm>(platform, englishUI);
    form->FormCreate();
    platform.ShowWindow(platform::WindowShow::Show);
    platform.RunTimers(10);
    return *form;
  }
  void Close() { platform.RequestClose(); }

  // The texts of the error reports shown so far, by their place.
  std::vector<std::u16string> ReportPlaces() const {
    std::vector<std::u16string> places;
    for (const auto& message : platform.Messages()) {
      const std::u16string prefix = u"Exception in ";
      if (message.text.rfind(prefix, 0) != 0) continue;
      places.push_back(message.text.substr(prefix.size(), message.text.find(u':') - prefix.size()));
    }
    return places;
  }

  // The table as "a|b|c" per row, up to the counts.
  std::vector<std::u16string> Rows() const {
    std::vector<std::u16string> rows;
    for (int row = 0; row < form->ToDoGrid.RowCount(); ++row) {
      std::u16string line;
      for (int col = 0; col < form->ToDoGrid.ColCount(); ++col) {
        if (col > 0) line += u'|';
        line += form->ToDoGrid.Cell(col, row);
      }
      rows.push_back(line);
    }
    return rows;
  }
};

// The file a list is saved as, built line by line.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

}  // namespace tasklane::mainwindow
