namespace qpx::sim {}
