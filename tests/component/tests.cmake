# Every test program depends on the recorder, so the component is built before any
# suite runs (the prefix step registers it from bin/).
add_dependencies(recorder PackageInfoServer)
