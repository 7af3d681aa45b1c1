# Compiling less: most of a file's compile time goes into the Qt and
# GoogleTest headers, so each family of targets that compiles with the same
# flags shares one precompiled header, made once by its first target:
#   varnolix_core     the widget-free modules (Qt Core)
#   varnolix_widgets  the windows (Qt Widgets)
#   varnolix_test_support  the test programs (Qt Widgets, Qt Test, GoogleTest)
# Targets whose flags differ (the modules, built hidden; the parts without
# Qt) compile without one. -Winvalid-pch turns a header the compiler cannot
# use into an error rather than a silent slow build.
option(VARNOLIX_PCH "Precompile the Qt and GoogleTest headers" ON)

set(varnolix_pch_core <algorithm> <array> <cstdint> <functional> <memory> <optional> <vector>
    <QByteArray> <QByteArrayList> <QDir> <QFile> <QFileInfo> <QList> <QObject> <QString> <QStringList>)
set(varnolix_pch_widgets ${varnolix_pch_core}
    <QApplication> <QGroupBox> <QImage> <QLabel> <QLineEdit> <QMenu> <QPainter> <QPushButton> <QWidget>)
set(varnolix_pch_tests ${varnolix_pch_widgets} <gtest/gtest.h> <QTemporaryDir> <QTest>)

# The first target of a family: makes the family's header.
function(varnolix_precompile_for family target)
  if(VARNOLIX_PCH)
    target_precompile_headers(${target} PRIVATE ${varnolix_pch_${family}})
    target_compile_options(${target} PRIVATE -Winvalid-pch)
  endif()
endfunction()

# Further targets of a family: use the header the family's first target made.
function(varnolix_precompiled_from host)
  if(VARNOLIX_PCH)
    foreach(target ${ARGN})
      target_precompile_headers(${target} REUSE_FROM ${host})
      target_compile_options(${target} PRIVATE -Winvalid-pch)
    endforeach()
  endif()
endfunction()
